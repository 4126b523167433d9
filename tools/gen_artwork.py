#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the program's artwork into src/platform/artwork/ and lists it in
src/platform/artwork.qrc.

Every picture is drawn pixel by pixel from the tables below, so the output is
the same on every run and every machine. Each picture is drawn for every
screen scale in SCALES: at its normal size, and for scales 1.25, 1.5 and 2
("@1.25x", "@1.5x", "@2x") in device pixels, so that Qt shows it unscaled.

The tables are in logical pixels. At scale s Qt puts a control's edge at the
logical coordinate u of the window on the device edge round(u * s), halves
rounded up: at 1.25 and 1.5 a logical pixel covers one or two device pixels,
depending on where it lies in the window. The pictures follow the same
rounding, from where they lie in the window (the panels at PANEL_ORIGIN), so
that every box meets the controls Qt lays over it as at scale 1. Each 1 px
line (frames, rules, the white and sunken lines inside boxes) is one device
pixel at every scale, on the device pixel of its logical pixel nearest the
inside of what it frames; areas, gradients and shadows fill the rest, the
smooth ones evaluated at the centre of every device pixel.

Coordinates are (column, row) from the top-left corner and ranges are
inclusive. Colours are RGB; a bare number is a neutral grey (R = G = B).

Output files
    window.bmp      210 x 690   32 bpp   backdrop of the main window
    card.bmp        140 x 460   24 bpp   backdrop of the card panel
    collection.bmp  140 x 460   32 bpp   backdrop of the collection panel
    (each also as name@1.25x.bmp, name@1.5x.bmp and name@2x.bmp, the
    window's rounded up to whole device pixels: 263 x 863 at 1.25)
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
    light line                rect (27,27)-(182,662)         245, just
                              outside the inner frame at every scale
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
    the fill from 2 px in (device pixels at every scale).

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

# The screen scales drawn for, each with its file name suffix.
SCALES = [(1, ''), (1.25, '@1.25x'), (1.5, '@1.5x'), (2, '@2x')]

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

# How far the field's shadow reaches in from each edge (px). The panels
# leave 6 px of the field visible at the sides and below, 8 px above.
WINDOW_FIELD_SHADOW = {'left': 6, 'right': 6, 'top': 8, 'bottom': 6}

# ---------------------------------------------------------------------------
# Panels

PANEL_SIZE = (140, 460)
# Where both panels lie in the window, in logical pixels: at fractional
# scales the device pixels of a panel's boxes and of the controls over them
# depend on it. It must match the panels' place in the layout.
PANEL_ORIGIN = (35, 195)

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


def snap(v):
    """The device pixel edge that v, a logical coordinate of the window
    times the scale, is rounded to. Qt maps a control's rectangle to the
    device grid by rounding its two corners that way, halves up (qRound),
    and draws a picture of the scale's own ratio from the rounded corner
    on, pixel for pixel."""
    return int(math.floor(v + 0.5))


def inset(rect, n):
    """A device rectangle (left, top, right, bottom; right and bottom
    exclusive) moved in by n pixels on every side (out for negative n)."""
    l, t, r, b = rect
    return (l + n, t + n, r - n, b - n)


class Canvas:
    """An RGB picture of device pixels drawn for one scale and laid where
    Qt lays it: its top-left corner at the logical point `origin` of the
    window.

    The tables are in logical pixels of the picture. A logical edge u lies
    on the device edge dx(u), which is where Qt puts a control's edge at
    that spot of the window: at scales 1 and 2 exactly u * scale, at 1.25
    and 1.5 rounded, so that a logical pixel covers one or two device
    pixels. Drawing operations take device rectangles; area() and ring()
    turn logical ones into them."""

    def __init__(self, size, scale, origin, background):
        self.s = scale
        self.ox, self.oy = origin
        self.w, self.h = self.dx(size[0]), self.dy(size[1])
        bg = rgb(background)
        self.px = [[bg] * self.w for _ in range(self.h)]

    def dx(self, u):
        return snap((self.ox + u) * self.s) - snap(self.ox * self.s)

    def dy(self, v):
        return snap((self.oy + v) * self.s) - snap(self.oy * self.s)

    def area(self, x0, y0, x1, y1):
        """The device pixels of the logical pixels x0..x1, y0..y1."""
        return (self.dx(x0), self.dy(y0), self.dx(x1 + 1), self.dy(y1 + 1))

    def ring(self, x0, y0, x1, y1):
        """The device rectangle of a box whose 1 px frame is the logical
        ring (x0, y0)-(x1, y1). Its frame is one device pixel wide, on the
        device pixels of the ring nearest the box's inside: they touch the
        controls inside as closely as the ring does at scale 1, and the
        rest of the ring's logical pixels go to what lies outside it."""
        return (self.dx(x0 + 1) - 1, self.dy(y0 + 1) - 1,
                self.dx(x1) + 1, self.dy(y1) + 1)

    def fill(self, rect, colour):
        c = rgb(colour)
        l, t, r, b = rect
        for j in range(t, b):
            self.px[j][l:r] = [c] * (r - l)

    def outline(self, rect, colour):
        """A ring one device pixel wide on the rectangle's outer edge."""
        l, t, r, b = rect
        self.fill((l, t, r, t + 1), colour)
        self.fill((l, b - 1, r, b), colour)
        self.fill((l, t, l + 1, b), colour)
        self.fill((r - 1, t, r, b), colour)

    def shade(self, rect, fn):
        """Recolours every pixel of the device rectangle with fn(x, y, old),
        where (x, y) is the pixel's centre in device units."""
        l, t, r, b = rect
        for j in range(max(t, 0), min(b, self.h)):
            row = self.px[j]
            for i in range(max(l, 0), min(r, self.w)):
                row[i] = fn(i + 0.5, j + 0.5, row[i])

    def put(self, i, j, colour):
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
    rect = cv.ring(*box)
    cv.outline(rect, frame)
    cv.outline(inset(rect, 1), WHITE)
    cv.fill(inset(rect, 2), fill)


def draw_box_shadow(cv, box):
    """A soft shadow just outside the box's right and bottom edges: the
    box's area moved down and right, with blurred edges, under the box."""
    l, t, r, b = cv.ring(*box)
    s = cv.s
    off, soft, depth = (BOX_SHADOW['offset'] * s, BOX_SHADOW['softness'] * s,
                        BOX_SHADOW['depth'])
    # The shadow's continuous extent, in device units.
    sl, st, sr, sb = l + off, t + off, r + off, b + off

    def ramp(v):
        return clamp(v / soft + 0.5)

    def fn(x, y, old):
        if x < r and y < b:
            return old                      # under the box itself
        cover = ramp(x - sl) * ramp(sr - x) * ramp(y - st) * ramp(sb - y)
        v = grey_round(old[0] - depth * cover)
        return (v, v, v)

    reach = int(math.ceil(off + soft))
    cv.shade((l, t, r + reach, b + reach), fn)


def draw_arrowhead(cv, box, direction):
    """A thin black arrowhead centred in the box. At 1x it is a crisp
    chevron of single pixels; at larger scales the same chevron is stroked
    ARROW_STROKE logical px wide with anti-aliasing."""
    sign = -1 if direction == 'left' else 1
    back = -sign                        # the arms run away from the tip
    if cv.s == 1:
        x0, y0, x1, y1 = box
        cx, cy = (x0 + x1) // 2, (y0 + y1) // 2
        tip = (cx + sign * ARROW_TIP, cy)   # on the pointing side
        for x, y in [tip] + [(tip[0] + back * dx, tip[1] + dy)
                             for dx, dy in ARROW_ARMS]:
            cv.put(x, y, BLACK)
        return
    # Stroke the two arms from the tip, all in device units, centred on
    # the box as drawn.
    s = cv.s
    l, t, r, b = cv.ring(*box)
    far = max(dx for dx, _ in ARROW_ARMS) * s
    tip = ((l + r) / 2 + sign * ARROW_TIP * s, (t + b) / 2)
    ends = [(tip[0] + back * far, tip[1] - far),
            (tip[0] + back * far, tip[1] + far)]
    half = ARROW_STROKE * s / 2
    sub = 4
    xs = [p[0] for p in ends] + [tip[0]]
    ys = [p[1] for p in ends] + [tip[1]]
    i0, i1 = int(min(xs) - s), int(max(xs) + s)
    j0, j1 = int(min(ys) - s), int(max(ys) + s)
    for j in range(j0, j1 + 1):
        for i in range(i0, i1 + 1):
            hit = 0
            for sj in range(sub):
                for si in range(sub):
                    px = i + (si + 0.5) / sub
                    py = j + (sj + 0.5) / sub
                    if min(seg_dist(px, py, tip, e) for e in ends) <= half:
                        hit += 1
            if hit:
                old = cv.px[j][i][0]
                cv.put(i, j, grey_round(old * (1 - hit / (sub * sub))))


def seg_dist(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.hypot(qx, qy)


def draw_sunken(cv, box, fill):
    """The code box: a light outer line, a dark line along the top and left
    and a pale one along the bottom and right inside it, the two corners
    where they meet blended, then the fill. Each line is one device pixel."""
    rect = cv.ring(*box)
    l, t, r, b = rect
    cv.outline(rect, WARM_LIGHT)
    cv.fill((l + 1, t + 1, r - 1, t + 2), WARM_DARK)        # top
    cv.fill((l + 1, t + 1, l + 2, b - 1), WARM_DARK)        # left
    cv.fill((l + 1, b - 2, r - 1, b - 1), WARM_PALE)        # bottom
    cv.fill((r - 2, t + 1, r - 1, b - 1), WARM_PALE)        # right
    cv.put(r - 2, t + 1, WARM_MITRE)                        # top right
    cv.put(l + 1, b - 2, WARM_MITRE)                        # bottom left
    cv.fill(inset(rect, 2), fill)


def draw_strip(cv):
    """The bottom strip shared by both panels."""
    top = cv.dy(STRIP_TOP)
    cv.fill((0, top, cv.w, cv.h), STRIP_FILL)

    def fn(x, y, old):
        v = grey_round(profile(STRIP_SHADOW, (y - top) / cv.s))
        return (v, v, v)

    depth = int(math.ceil(STRIP_SHADOW[-1][0]))
    cv.shade((0, top, cv.w, cv.dy(STRIP_TOP + depth)), fn)
    # Each dot a square of whole device pixels, all alike.
    k = max(1, snap(cv.s))
    for x, y in STRIP_DOTS:
        cv.fill((cv.dx(x), cv.dy(y), cv.dx(x) + k, cv.dy(y) + k), STRIP_DOT)


# ---------------------------------------------------------------------------
# Pictures


def draw_window(scale):
    g = WINDOW
    s = scale
    cv = Canvas(WINDOW_SIZE, scale, (0, 0), g['margin'])
    outer = cv.ring(*WINDOW_OUTER_FRAME)
    cv.fill(outer, WHITE)
    cv.outline(outer, g['outer_frame'])

    # The band darkens towards the box: depth is measured from the white
    # line inwards, the same on all four sides (mitred corners).
    ox0, oy0, ox1, oy1 = WINDOW_OUTER_FRAME
    white = WINDOW_WHITE_LINE
    band = cv.area(ox0 + 1 + white, oy0 + 1 + white,
                   ox1 - 1 - white, oy1 - 1 - white)
    bl, bt, br, bb = band
    width = WINDOW_LIGHT_LINE[0] - (ox0 + 1 + white)

    def band_shade(x, y, old):
        d = min(x - bl, y - bt, br - x, bb - y) / s
        t = clamp(d / width)
        v = grey_round(g['band_outer']
                       + (g['band_inner'] - g['band_outer']) * t * t)
        return (v, v, v)

    cv.shade(band, band_shade)
    # The light line lies just outside the inner frame, at every scale.
    inner = cv.ring(*WINDOW_INNER_FRAME)
    cv.outline(inset(inner, -1), g['light_line'])
    cv.fill(inset(inner, 1), WHITE)
    cv.outline(inner, g['inner_frame'])

    # Inside the inner frame: the header cells, the palette area and the
    # field, parted by rules one device pixel high. A rule lies on the
    # first device row of its logical row, touching what is above it (the
    # palette, above the lower rule) as at scale 1.
    left, right = inner[0] + 1, inner[2] - 1
    header_rule, field_rule = (cv.dy(row) for row in WINDOW_RULES)
    header = (left, inner[1] + 1, right, header_rule)
    rows = WINDOW_HEADER[3] + 1 - WINDOW_HEADER[1]

    def header_shade(x, y, old):
        v = lerp_grey(g['header_top'], g['header_bottom'],
                      (y - header[1]) / s / rows)
        return (v, v, v)

    cv.shade(header, header_shade)
    divider = cv.dx(WINDOW_HEADER_DIVIDER)
    cv.fill((divider, header[1], divider + 1, header[3]), g['rule'])
    for row in (header_rule, field_rule):
        cv.fill((left, row, right, row + 1), g['rule'])

    # The field's shadow, strongest at each edge and gone within the reach
    # listed for that edge; in the corners the deeper of the two wins.
    field = (left, field_rule + 1, right, inner[3] - 1)
    fl, ft, fr, fb = field
    depth = WHITE - g['shadow_edge']
    reach = WINDOW_FIELD_SHADOW

    def field_shade(x, y, old):
        dist = {'left': (x - fl) / s, 'right': (fr - x) / s,
                'top': (y - ft) / s, 'bottom': (fb - y) / s}
        dark = 0.0
        for edge, d in dist.items():
            t = clamp(1 - d / reach[edge])
            # Scaled so the pixel at the very edge reaches the edge grey.
            edge_t = (1 - 0.5 / reach[edge]) ** 2
            dark = max(dark, depth * t * t / edge_t)
        v = grey_round(WHITE - dark)
        return (v, v, v)

    cv.shade(field, field_shade)
    return cv


def draw_card(scale):
    cv = Canvas(PANEL_SIZE, scale, PANEL_ORIGIN, WHITE)
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
    cv = Canvas(PANEL_SIZE, scale, PANEL_ORIGIN, WHITE)
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
    ppm = grey_round(2835 * cv.s)           # 72 dpi per logical pixel
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
PICTURES = ['window', 'card', 'collection']
QRC_FILES = ['%s%s.bmp' % (name, suffix)
             for name in PICTURES for _, suffix in SCALES] + ICON_FILES


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
        for scale, suffix in SCALES:
            write(os.path.join(out, name + suffix + '.bmp'),
                  bmp_bytes(draw(scale), bpp))
    for (size, radius, rim, sub), name in zip(ICON_IMAGES, ICON_FILES):
        write(os.path.join(out, name), icon_png(size, radius, rim, sub))
    write(os.path.join(out, 'icon.svg'), icon_svg())
    write(os.path.join(app, 'artwork.qrc'), qrc_text())
    return 0


if __name__ == '__main__':
    sys.exit(main())
