#!/usr/bin/env python3
"""Draws the program's artwork into src/platform/artwork/ and lists it in
src/platform/artwork.qrc.

Every picture is drawn pixel by pixel from the tables below, so the output is
the same on every run and every machine. Each picture is drawn twice: at its
normal size and at twice the size ("@2x") for high-density screens. The
tables are in logical pixels; at 2x one logical pixel is 2 x 2 device
pixels. Hard lines and boxes simply double, while gradients, shadows and
slanted strokes are evaluated at the centre of every device pixel so they
stay smooth at the finer grid.

Coordinates are (column, row) from the top-left corner and ranges are
inclusive. Colours are RGB; a bare number is a neutral grey (R = G = B).

Output files
    window.bmp      210 x 690   32 bpp   backdrop of the main window
    card.bmp        140 x 460   24 bpp   backdrop of the card panel
    collection.bmp  140 x 460   32 bpp   backdrop of the collection panel
    (each also as name@2x.bmp at twice the size)
    icon-N.png      the program icon at N x N, for N = 16, 32, 48, 128, 256,
                    RGBA with the wheel's edge in the alpha channel
    icon.svg        the same icon as a scalable picture (not compiled into
                    the program: it is for installing as a desktop icon)

Window (210 x 690)
    what                      where                          colour
    margin                    11 px on every side            189
    outer frame               rect (11,11)-(198,678)         128
    white line                3 px inside the outer frame    255
    band                      between white line and box     230 -> 215
    light line                rect (27,27)-(182,662)         245
    inner frame               rect (28,28)-(181,661)         172
    header cells              (29,29)-(180,50)               252 -> 232
    header divider            column 105, rows 29-50         186
    rules                     rows 51 and 186, cols 29-180   186
    palette area              (29,52)-(180,185)              255
    field                     (29,187)-(180,660)             255, with a
                              shadow fading from ~200 at its edges to white
                              over 6 px (8 px along the top)

Card panel (140 x 460, the named boxes are in CARD_BOXES)
    white down to row 417; three raised boxes in rows 370-384 with a soft
    shadow to the right and below, arrowheads in the two page buttons; the
    sunken code box in rows 393-411; the bottom strip from row 418.

Collection panel (140 x 460, boxes in COLLECTION_BOXES)
    white down to row 417 with the delete box; the bottom strip from row 418.

Bottom strip (both panels)
    rows 418-459 filled with 241; a shadow line along its top (rows 418-419,
    see STRIP_SHADOW) and a triangle of grip dots (STRIP_DOTS) in its corner.

Box
    a 1 px frame on the box's outer edge, a 1 px white line inside it and
    the fill from 2 px in.

Icon
    a colour wheel: the hue runs round the circle (red to the right, then
    yellow, green, cyan, blue and magenta counter-clockwise), the saturation
    falls towards a white centre, a thin grey rim closes it, outside is
    clear. Each PNG is drawn for its own size, so the rim stays crisp at 16.
    The SVG builds the same wheel from thin wedges of full hue under a white
    radial gradient whose opacity is one minus the saturation: white laid
    over a hue in that proportion is exactly the hue at that saturation.
"""

import colorsys
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Colours

WHITE = 255
BLACK = 0

# The sunken code box's frame: the only colours that are not neutral.
WARM_LIGHT = (241, 239, 226)      # outer line all round
WARM_DARK = (113, 111, 100)       # inner line along the top and left
WARM_PALE = (226, 224, 214)       # inner line along the bottom and right
WARM_MITRE = (170, 168, 157)      # where the dark and pale lines meet

# ---------------------------------------------------------------------------
# Window

WINDOW_SIZE = (210, 690)

WINDOW = {
    'margin':        189,
    'outer_frame':   128,
    'band_outer':    230,   # band next to the white line
    'band_inner':    215,   # band next to the inner box
    'light_line':    245,
    'inner_frame':   172,
    'header_top':    252,
    'header_bottom': 232,
    'rule':          186,
    'shadow_edge':   199,   # the field's shadow at its very edge
}

# (x0, y0, x1, y1), inclusive
WINDOW_OUTER_FRAME = (11, 11, 198, 678)
WINDOW_WHITE_LINE = 3                     # width, inside the outer frame
WINDOW_LIGHT_LINE = (27, 27, 182, 662)
WINDOW_INNER_FRAME = (28, 28, 181, 661)
WINDOW_HEADER = (29, 29, 180, 50)
WINDOW_HEADER_DIVIDER = 105               # column
WINDOW_RULES = (51, 186)                  # rows, across columns 29-180
WINDOW_FIELD = (29, 187, 180, 660)

# How far the field's shadow reaches in from each edge (px). The panels
# leave 6 px of the field visible at the sides and below, 8 px above.
WINDOW_FIELD_SHADOW = {'left': 6, 'right': 6, 'top': 8, 'bottom': 6}

# ---------------------------------------------------------------------------
# Panels

PANEL_SIZE = (140, 460)

STRIP_TOP = 418             # first row of the bottom strip
STRIP_FILL = 241
# The strip's top shadow as a profile: (distance below row 418, grey),
# linearly interpolated and sampled at each pixel's centre.
STRIP_SHADOW = [(0.0, 196), (1.0, 214), (2.0, STRIP_FILL)]
STRIP_DOT = 165
STRIP_DOTS = [(2, 421), (4, 421), (6, 421),
              (2, 423), (4, 423),
              (2, 425)]

RAISED_FRAME = 172
FIELD_FRAME = 198
BOX_FILL = 230
CODE_FILL = 238

# Raised boxes cast a shadow 1-2 px wide to the right and below: the box
# moved by (OFFSET, OFFSET), its edges softened over SOFTNESS px, at DEPTH
# grey levels below white where fully covered.
BOX_SHADOW = {'offset': 1.0, 'softness': 1.5, 'depth': 40}

# name, (x0, y0, x1, y1), frame, fill, shadow, arrowhead
CARD_BOXES = [
    ('page number',   (66, 370, 93, 384),   RAISED_FRAME, BOX_FILL, True, None),
    ('previous page', (101, 370, 115, 384), RAISED_FRAME, BOX_FILL, True, 'left'),
    ('next page',     (122, 370, 136, 384), RAISED_FRAME, BOX_FILL, True, 'right'),
    ('strip field',   (28, 436, 112, 453),  FIELD_FRAME,  BOX_FILL, False, None),
]
CARD_CODE_BOX = (66, 393, 136, 411)

COLLECTION_BOXES = [
    ('delete',        (44, 392, 93, 409),   FIELD_FRAME,  BOX_FILL, False, None),
    ('strip field',   (22, 436, 71, 453),   FIELD_FRAME,  BOX_FILL, False, None),
    ('button 1',      (82, 438, 96, 452),   RAISED_FRAME, BOX_FILL, False, None),
    ('button 2',      (103, 438, 117, 452), RAISED_FRAME, BOX_FILL, False, None),
]

# A thin arrowhead: its tip lies ARROW_TIP px from the box's centre towards
# the side it points to, and its two 1 px diagonal arms run back from the
# tip (offsets: steps away from the pointing side, rows down).
ARROW_TIP = 2
ARROW_STROKE = 0.8      # stroke width at 2x, in logical px
ARROW_ARMS = [(1, -1), (2, -2), (3, -3), (1, 1), (2, 2), (3, 3)]

# ---------------------------------------------------------------------------
# Icon

ICON_RIM = 118               # grey of the rim
# size, outer radius, rim width, subsamples per axis. The wheel fills the
# picture but for a sliver of clear edge; the rim is a thirtieth of the size
# and never thinner than one pixel.
ICON_IMAGES = [
    (16, 7.75, 1.0, 8),
    (32, 15.5, 1.2, 8),
    (48, 23.2, 1.6, 6),
    (128, 61.9, 4.3, 4),
    (256, 123.7, 8.5, 3),
]
ICON_SVG_SIZE = 48           # the SVG is drawn on the 48 px picture's grid
ICON_SVG_WEDGES = (36, 360)  # coarse wedges of full hue, then one a degree
ICON_SVG_STOPS = 24          # gradient stops along the saturation ramp
ICON_WHITE_CORE = 0.08       # fraction of the radius left pure white
ICON_FULL_HUE = 0.82         # fraction of the radius where hues are full
ICON_CURVE = 0.8             # shape of the saturation ramp between them

# ---------------------------------------------------------------------------


def rgb(c):
    """A colour as an (r, g, b) tuple; a bare number is a neutral grey."""
    return (c, c, c) if isinstance(c, int) else c


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def grey_round(v):
    return int(math.floor(v + 0.5))


class Canvas:
    """An RGB picture addressed in logical pixels at a given scale."""

    def __init__(self, size, scale, background):
        self.s = scale
        self.w, self.h = size[0] * scale, size[1] * scale
        bg = rgb(background)
        self.px = [[bg] * self.w for _ in range(self.h)]

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the logical rectangle (inclusive) with one colour."""
        c = rgb(colour)
        s = self.s
        for j in range(y0 * s, (y1 + 1) * s):
            row = self.px[j]
            row[x0 * s:(x1 + 1) * s] = [c] * ((x1 - x0 + 1) * s)

    def frame(self, x0, y0, x1, y1, colour):
        """A 1 px ring on the rectangle's outer edge."""
        self.fill(x0, y0, x1, y0, colour)
        self.fill(x0, y1, x1, y1, colour)
        self.fill(x0, y0, x0, y1, colour)
        self.fill(x1, y0, x1, y1, colour)

    def shade(self, x0, y0, x1, y1, fn):
        """Recolours every device pixel of the logical rectangle with
        fn(x, y, old), where (x, y) is the pixel's centre in logical units."""
        s = self.s
        for j in range(y0 * s, (y1 + 1) * s):
            y = (j + 0.5) / s
            row = self.px[j]
            for i in range(x0 * s, (x1 + 1) * s):
                row[i] = fn((i + 0.5) / s, y, row[i])

    def device_put(self, i, j, colour):
        if 0 <= i < self.w and 0 <= j < self.h:
            self.px[j][i] = rgb(colour)


def lerp_grey(a, b, t):
    return grey_round(a + (b - a) * t)


def profile(points, t):
    """Piecewise linear lookup in a table of (position, value)."""
    if t <= points[0][0]:
        return points[0][1]
    for (t0, v0), (t1, v1) in zip(points, points[1:]):
        if t <= t1:
            return v0 + (v1 - v0) * (t - t0) / (t1 - t0)
    return points[-1][1]


# ---------------------------------------------------------------------------
# Shared pieces


def draw_box(cv, box, frame, fill):
    x0, y0, x1, y1 = box
    cv.frame(x0, y0, x1, y1, frame)
    cv.frame(x0 + 1, y0 + 1, x1 - 1, y1 - 1, WHITE)
    cv.fill(x0 + 2, y0 + 2, x1 - 2, y1 - 2, fill)


def draw_box_shadow(cv, box):
    """A soft shadow just outside the box's right and bottom edges: the
    box's area moved down and right, with blurred edges, under the box."""
    x0, y0, x1, y1 = box
    off, soft, depth = (BOX_SHADOW['offset'], BOX_SHADOW['softness'],
                        BOX_SHADOW['depth'])
    # The shadow's continuous extent.
    sl, st = x0 + off, y0 + off
    sr, sb = x1 + 1 + off, y1 + 1 + off

    def ramp(v):
        return clamp(v / soft + 0.5)

    def fn(x, y, old):
        if x < x1 + 1 and y < y1 + 1:
            return old                      # under the box itself
        cover = ramp(x - sl) * ramp(sr - x) * ramp(y - st) * ramp(sb - y)
        v = grey_round(old[0] - depth * cover)
        return (v, v, v)

    reach = int(math.ceil(off + soft))
    cv.shade(x0, y0, x1 + reach, y1 + reach, fn)


def draw_arrowhead(cv, box, direction):
    """A thin black arrowhead centred in the box. At 1x it is a crisp
    chevron of single pixels; at larger scales the same chevron is stroked
    ARROW_STROKE logical px wide with anti-aliasing."""
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) // 2, (y0 + y1) // 2
    sign = -1 if direction == 'left' else 1
    tip = (cx + sign * ARROW_TIP, cy)   # on the pointing side of the centre
    back = -sign                        # the arms run away from it
    pixels = [tip] + [(tip[0] + back * dx, tip[1] + dy)
                      for dx, dy in ARROW_ARMS]
    if cv.s == 1:
        for x, y in pixels:
            cv.fill(x, y, x, y, BLACK)
        return
    # Stroke the two arms through the pixel centres.
    far = max(dx for dx, _ in ARROW_ARMS)
    t = (tip[0] + 0.5, tip[1] + 0.5)
    ends = [(t[0] + back * far, t[1] - far), (t[0] + back * far, t[1] + far)]
    half = ARROW_STROKE / 2
    s = cv.s
    sub = 4
    xs = [p[0] for p in ends] + [t[0]]
    ys = [p[1] for p in ends] + [t[1]]
    i0, i1 = int((min(xs) - 1) * s), int((max(xs) + 1) * s)
    j0, j1 = int((min(ys) - 1) * s), int((max(ys) + 1) * s)
    for j in range(j0, j1 + 1):
        for i in range(i0, i1 + 1):
            hit = 0
            for sj in range(sub):
                for si in range(sub):
                    px = (i + (si + 0.5) / sub) / s
                    py = (j + (sj + 0.5) / sub) / s
                    if min(seg_dist(px, py, t, e) for e in ends) <= half:
                        hit += 1
            if hit:
                old = cv.px[j][i][0]
                v = grey_round(old * (1 - hit / (sub * sub)))
                cv.device_put(i, j, v)


def seg_dist(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.hypot(qx, qy)


def draw_sunken(cv, box, fill):
    """The code box: a light outer line, a dark line along the top and left
    and a pale one along the bottom and right inside it, mitred where they
    meet, then the fill."""
    x0, y0, x1, y1 = box
    cv.frame(x0, y0, x1, y1, WARM_LIGHT)
    cv.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 1, WARM_DARK)      # top
    cv.fill(x0 + 1, y0 + 1, x0 + 1, y1 - 1, WARM_DARK)      # left
    cv.fill(x0 + 1, y1 - 1, x1 - 1, y1 - 1, WARM_PALE)      # bottom
    cv.fill(x1 - 1, y0 + 1, x1 - 1, y1 - 1, WARM_PALE)      # right
    # Top-right and bottom-left corners: dark above-left of the diagonal
    # through the corner, pale below-right, the blend on it.
    s = cv.s
    for cx, cy in ((x1 - 1, y0 + 1), (x0 + 1, y1 - 1)):
        for j in range(s):
            for i in range(s):
                k = i + j - (s - 1)
                c = WARM_DARK if k < 0 else WARM_PALE if k > 0 else WARM_MITRE
                cv.device_put(cx * s + i, cy * s + j, c)
    cv.fill(x0 + 2, y0 + 2, x1 - 2, y1 - 2, fill)


def draw_strip(cv):
    """The bottom strip shared by both panels."""
    w, h = PANEL_SIZE
    cv.fill(0, STRIP_TOP, w - 1, h - 1, STRIP_FILL)

    def fn(x, y, old):
        v = grey_round(profile(STRIP_SHADOW, y - STRIP_TOP))
        return (v, v, v)

    depth = int(math.ceil(STRIP_SHADOW[-1][0]))
    cv.shade(0, STRIP_TOP, w - 1, STRIP_TOP + depth - 1, fn)
    for x, y in STRIP_DOTS:
        cv.fill(x, y, x, y, STRIP_DOT)


# ---------------------------------------------------------------------------
# Pictures


def draw_window(scale):
    g = WINDOW
    cv = Canvas(WINDOW_SIZE, scale, g['margin'])
    ox0, oy0, ox1, oy1 = WINDOW_OUTER_FRAME
    cv.frame(ox0, oy0, ox1, oy1, g['outer_frame'])
    white = WINDOW_WHITE_LINE
    cv.fill(ox0 + 1, oy0 + 1, ox1 - 1, oy1 - 1, WHITE)

    # The band darkens towards the box: depth is measured from the white
    # line inwards, the same on all four sides (mitred corners).
    bx0, by0, bx1, by1 = (ox0 + 1 + white, oy0 + 1 + white,
                          ox1 - white, oy1 - white)       # continuous edges
    lx0, ly0, lx1, ly1 = WINDOW_LIGHT_LINE
    width = lx0 - bx0

    def band(x, y, old):
        d = min(x - bx0, y - by0, bx1 - x, by1 - y)
        t = clamp(d / width)
        v = grey_round(g['band_outer']
                       + (g['band_inner'] - g['band_outer']) * t * t)
        return (v, v, v)

    cv.shade(bx0, by0, bx1 - 1, by1 - 1, band)
    cv.frame(lx0, ly0, lx1, ly1, g['light_line'])
    cv.frame(*WINDOW_INNER_FRAME, g['inner_frame'])
    fx0, fy0, fx1, fy1 = WINDOW_FIELD
    cv.fill(fx0, WINDOW_HEADER[1], fx1, fy1, WHITE)

    # Header cells: a soft top-to-bottom gradient.
    hx0, hy0, hx1, hy1 = WINDOW_HEADER
    rows = hy1 + 1 - hy0

    def header(x, y, old):
        v = lerp_grey(g['header_top'], g['header_bottom'], (y - hy0) / rows)
        return (v, v, v)

    cv.shade(hx0, hy0, hx1, hy1, header)
    cv.fill(WINDOW_HEADER_DIVIDER, hy0, WINDOW_HEADER_DIVIDER, hy1, g['rule'])
    for row in WINDOW_RULES:
        cv.fill(hx0, row, hx1, row, g['rule'])

    # The field's shadow, strongest at each edge and gone within the reach
    # listed for that edge; in the corners the deeper of the two wins.
    depth = WHITE - g['shadow_edge']
    reach = WINDOW_FIELD_SHADOW

    def field(x, y, old):
        dist = {'left': x - fx0, 'right': fx1 + 1 - x,
                'top': y - fy0, 'bottom': fy1 + 1 - y}
        dark = 0.0
        for edge, d in dist.items():
            t = clamp(1 - d / reach[edge])
            # Scaled so the pixel at the very edge reaches the edge grey.
            edge_t = (1 - 0.5 / reach[edge]) ** 2
            dark = max(dark, depth * t * t / edge_t)
        v = grey_round(WHITE - dark)
        return (v, v, v)

    cv.shade(fx0, fy0, fx1, fy1, field)
    return cv


def draw_card(scale):
    cv = Canvas(PANEL_SIZE, scale, WHITE)
    for _, box, frame, fill, shadow, arrow in CARD_BOXES:
        if shadow:
            draw_box_shadow(cv, box)
    draw_sunken(cv, CARD_CODE_BOX, CODE_FILL)
    draw_strip(cv)
    for _, box, frame, fill, shadow, arrow in CARD_BOXES:
        draw_box(cv, box, frame, fill)
        if arrow:
            draw_arrowhead(cv, box, arrow)
    return cv


def draw_collection(scale):
    cv = Canvas(PANEL_SIZE, scale, WHITE)
    draw_strip(cv)
    for _, box, frame, fill, shadow, arrow in COLLECTION_BOXES:
        if shadow:
            draw_box_shadow(cv, box)
        draw_box(cv, box, frame, fill)
    return cv


# ---------------------------------------------------------------------------
# Icon


def wheel_colour(dx, dy, radius, rim):
    """Colour of the wheel at offset (dx, dy) from its centre, or None
    outside it."""
    r = math.hypot(dx, dy)
    if r > radius:
        return None
    if r > radius - rim:
        return (ICON_RIM,) * 3
    sat = icon_saturation(r / (radius - rim))
    hue = (math.atan2(-dy, dx) / (2 * math.pi)) % 1.0
    return tuple(c * 255 for c in colorsys.hsv_to_rgb(hue, sat, 1.0))


def draw_icon(size, radius, rim, sub):
    """Per pixel: (r, g, b) averaged over the covered subsamples and the
    covered fraction."""
    c = size / 2
    out = []
    for j in range(size):
        row = []
        for i in range(size):
            acc = [0.0, 0.0, 0.0]
            n = 0
            for sj in range(sub):
                for si in range(sub):
                    col = wheel_colour(i + (si + 0.5) / sub - c,
                                       j + (sj + 0.5) / sub - c, radius, rim)
                    if col:
                        n += 1
                        for k in range(3):
                            acc[k] += col[k]
            cover = n / (sub * sub)
            colour = tuple(grey_round(a / n) for a in acc) if n else (0, 0, 0)
            row.append((colour, cover))
        out.append(row)
    return out


def icon_saturation(f):
    """Saturation at the fraction f of the way from the centre to the rim."""
    sat = clamp((f - ICON_WHITE_CORE) / (ICON_FULL_HUE - ICON_WHITE_CORE))
    return sat ** ICON_CURVE


# ---------------------------------------------------------------------------
# Files


def row_pad(n):
    return (4 - n % 4) % 4


def bmp_bytes(cv, bpp):
    """A bottom-up BI_RGB bitmap, 24 or 32 bpp (32 bpp with an opaque
    fourth byte)."""
    rows = []
    pad = b'\0' * row_pad(cv.w * bpp // 8)
    for row in reversed(cv.px):
        if bpp == 32:
            data = b''.join(bytes((b, g, r, 255)) for r, g, b in row)
        else:
            data = b''.join(bytes((b, g, r)) for r, g, b in row)
        rows.append(data + pad)
    pixels = b''.join(rows)
    ppm = 2835 * cv.s                       # 72 dpi per logical pixel
    info = struct.pack('<IiiHHIIiiII', 40, cv.w, cv.h, 1, bpp, 0,
                       len(pixels), ppm, ppm, 0, 0)
    offset = 14 + len(info)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + pixels


def png_bytes(width, height, rows):
    """An 8-bit RGBA PNG from rows of (r, g, b, a) tuples."""
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in rows)

    def chunk(tag, data):
        crc = zlib.crc32(tag + data) & 0xffffffff
        return struct.pack('>I', len(data)) + tag + data + struct.pack('>I', crc)

    head = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', head)
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def icon_png(size, radius, rim, sub):
    """The wheel with its coverage as alpha; clear pixels are all zero."""
    rows = []
    for row in draw_icon(size, radius, rim, sub):
        out = []
        for colour, cover in row:
            a = grey_round(255 * cover)
            out.append(colour + (a,) if a else (0, 0, 0, 0))
        rows.append(out)
    return png_bytes(size, size, rows)


def svg_colour(c):
    return '#%02x%02x%02x' % tuple(grey_round(v) for v in c)


def icon_svg():
    size, radius, rim = next((n, r, w) for n, r, w, _ in ICON_IMAGES
                             if n == ICON_SVG_SIZE)
    c = size / 2
    inner = radius - rim

    def at(angle, r):
        # Angles run counter-clockwise from the right, as the hue does.
        return '%.3f %.3f' % (c + r * math.cos(angle), c - r * math.sin(angle))

    lines = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
             'viewBox="0 0 %d %d">' % (size, size, size, size),
             '<defs>',
             '<radialGradient id="core" gradientUnits="userSpaceOnUse" '
             'cx="%g" cy="%g" r="%g">' % (c, c, inner)]
    # White at the opacity that leaves the hue at the wheel's saturation.
    for k in range(ICON_SVG_STOPS + 1):
        f = ICON_WHITE_CORE + (ICON_FULL_HUE - ICON_WHITE_CORE) * k / ICON_SVG_STOPS
        lines.append('<stop offset="%.4f" stop-color="#fff" stop-opacity="%.4f"/>'
                     % (f, 1 - icon_saturation(f)))
    lines += ['</radialGradient>', '</defs>']
    # Wedges of full hue reaching under the rim. Fine wedges are thinner
    # than a pixel near the centre, where a renderer's smoothing would let
    # the background through between them: coarse wedges under them, each
    # overlapping the next, close those seams with nearly the same hue.
    reach = radius - rim / 2
    for count in ICON_SVG_WEDGES:
        step = 2 * math.pi / count
        for k in range(count):
            hue = (k + 0.5) / count
            a0, a1 = (k - 0.5) * step, (k + 1.5) * step
            colour = tuple(v * 255 for v in colorsys.hsv_to_rgb(hue, 1.0, 1.0))
            lines.append('<path d="M%.3f %.3fL%sL%sZ" fill="%s"/>'
                         % (c, c, at(a0, reach), at(a1, reach),
                            svg_colour(colour)))
    lines.append('<circle cx="%g" cy="%g" r="%g" fill="url(#core)"/>'
                 % (c, c, inner))
    lines.append('<circle cx="%g" cy="%g" r="%g" fill="none" stroke="%s" '
                 'stroke-width="%g"/>' % (c, c, radius - rim / 2,
                                          svg_colour((ICON_RIM,) * 3), rim))
    lines += ['</svg>', '']
    return '\n'.join(lines)


ICON_FILES = ['icon-%d.png' % n for n, _, _, _ in ICON_IMAGES]
QRC_FILES = ['window.bmp', 'window@2x.bmp', 'card.bmp', 'card@2x.bmp',
             'collection.bmp', 'collection@2x.bmp'] + ICON_FILES


def qrc_text():
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">',
             '<qresource prefix="/artwork">']
    lines += ['    <file alias="%s">artwork/%s</file>' % (f, f)
              for f in QRC_FILES]
    lines += ['</qresource>', '</RCC>', '']
    return '\n'.join(lines)


def write(path, data):
    mode = 'w' if isinstance(data, str) else 'wb'
    with open(path, mode) as f:
        f.write(data)
    print('wrote', path)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    app = os.path.join(root, 'src', 'platform')
    out = os.path.join(app, 'artwork')
    os.makedirs(out, exist_ok=True)
    pictures = [('window', draw_window, 32),
                ('card', draw_card, 24),
                ('collection', draw_collection, 32)]
    for name, draw, bpp in pictures:
        for scale, suffix in ((1, ''), (2, '@2x')):
            write(os.path.join(out, name + suffix + '.bmp'),
                  bmp_bytes(draw(scale), bpp))
    for (size, radius, rim, sub), name in zip(ICON_IMAGES, ICON_FILES):
        write(os.path.join(out, name), icon_png(size, radius, rim, sub))
    write(os.path.join(out, 'icon.svg'), icon_svg())
    write(os.path.join(app, 'artwork.qrc'), qrc_text())
    return 0


if __name__ == '__main__':
    sys.exit(main())
