#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the program's six vector movies into swf/.

Every movie is an SVG 1.2 Tiny document played by MovieControl through
QtSvg. What a movie raises is declared in the "urn:x-tesselle:movie"
namespace (prefix mv):

  mv:command / mv:argument   on an element with an id: clicking inside the
                             element's own painted shape raises the command;
  mv:look                    on an element with an id: drawn only in the
                             listed looks (normal, hover, pressed);
  mv:autoplay, mv:timer-after, mv:timer-command   on the root.

A command element's own <title> child and its role attribute ("tab",
"button") are what a screen reader says of it.

The small movies sit inside boxes of the window's artwork (1-px grey frame,
1-px white inner line, grey 230 fill) and cover exactly the area inside the
frame, so their outermost pixel ring is white and their inside grey 230.

Usage: gen_movies.py [output-dir]   (default: swf/ beside tools/)
"""
import math
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import lch  # noqa: E402

MV_NS = "urn:x-tesselle:movie"
FONT = "Liberation Sans"

WHITE = "#FFFFFF"
FACE = "#E6E6E6"          # grey 230, the fill of the artwork's boxes
FACE_HOVER = "#F2F2F2"
FACE_PRESSED = "#CDCDCD"
LINE = "#BABABA"
INK = "#1A1A1A"
INK_HOVER = "#1F3F66"     # dark blue-grey


def fmt(v):
    """A coordinate with at most three decimals and no trailing zeros."""
    s = "%.3f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def hexrgb(rgb):
    return "#%02X%02X%02X" % tuple(rgb)


def polar(cx, cy, r, deg):
    """Point at radius r, deg degrees clockwise from twelve o'clock
    (SVG's y axis points down)."""
    t = math.radians(deg)
    return cx + r * math.sin(t), cy - r * math.cos(t)


def wedge_path(cx, cy, r0, r1, a0, a1):
    """Annular wedge between radii r0 < r1 from angle a0 to a1 (clockwise)."""
    large = 1 if (a1 - a0) > 180 else 0
    ox0, oy0 = polar(cx, cy, r1, a0)
    ox1, oy1 = polar(cx, cy, r1, a1)
    ix1, iy1 = polar(cx, cy, r0, a1)
    ix0, iy0 = polar(cx, cy, r0, a0)
    return ("M%s,%s A%s,%s 0 %d 1 %s,%s L%s,%s A%s,%s 0 %d 0 %s,%s Z" % (
        fmt(ox0), fmt(oy0), fmt(r1), fmt(r1), large, fmt(ox1), fmt(oy1),
        fmt(ix1), fmt(iy1), fmt(r0), fmt(r0), large, fmt(ix0), fmt(iy0)))


def sector_colour(k, L=lch.SECTOR_L, C=lch.SECTOR_C):
    return hexrgb(lch.lch_to_srgb8(L, C, lch.sector_hue(k)))


def attrs(**kw):
    """Attribute text; a trailing underscore is dropped, 'mv_' becomes
    'mv:' and other underscores become dashes."""
    out = []
    for key, val in kw.items():
        if val is None:
            continue
        key = key.rstrip("_")
        if key.startswith("mv_"):
            key = "mv:" + key[3:].replace("_", "-")
        else:
            key = key.replace("_", "-")
        val = str(val).replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")
        out.append('%s="%s"' % (key, val))
    return " ".join(out)


def root(w, h, title, body, **extra):
    xlink = ' xmlns:xlink="http://www.w3.org/1999/xlink"' if any("xlink:" in b for b in body) else ""
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg"%s xmlns:mv="%s" '
            'version="1.2" baseProfile="tiny" width="%d" height="%d" viewBox="0 0 %d %d"'
            % (xlink, MV_NS, w, h, w, h))
    more = attrs(**extra)
    if more:
        head += " " + more
    head += ">\n  <title>%s</title>\n" % title
    return head + "".join("  " + line + "\n" for line in body) + "</svg>\n"


def titled(tag, title, **kw):
    """An element with attributes and a <title> of its own: the words a
    screen reader says for it."""
    return "<%s %s><title>%s</title></%s>" % (tag, attrs(**kw), title, tag)


def text(x, y, s, size, fill, anchor="middle", weight=None, **kw):
    return "<text %s>%s</text>" % (attrs(x=fmt(x), y=fmt(y), font_family=FONT,
                                         font_size=fmt(size), font_weight=weight,
                                         fill=fill, text_anchor=anchor, **kw), s)


# --------------------------------------------------------------------------
# Large words as glyph outlines, the way a movie embeds its font: each glyph
# drawn once in <defs> in the font's own units, each word a group of uses of
# them placed with the font's advances and kerning pairs. Large text costs
# the renderer much more to lay out and rasterise than its outlines do.

FONT_FILES = {
    None: "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "bold": "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
}


def _font_tools():
    try:
        import fontTools.pens.basePen
        import fontTools.ttLib
    except ImportError:
        sys.exit("gen_movies.py: needs fontTools (Debian: apt-get install python3-fonttools;"
                 " run it with /usr/bin/python3)")
    return fontTools


def _font(weight, fonts={}):
    if weight not in fonts:
        fonts[weight] = _font_tools().ttLib.TTFont(FONT_FILES[weight])
    return fonts[weight]


# Glyph outlines are written in steps of this many font units: a step is at
# most 0.08 px at the sizes the movies use, and the path data is shorter.
GLYPH_STEP = 4


def glyph_path(glyphs, name):
    """The glyph's outline as compact path data in GLYPH_STEPs: relative
    commands, whole numbers, repeated command letters left out."""
    out = []
    state = {"pos": (0, 0), "start": (0, 0), "cmd": None}

    def number(v, first):
        n = int(round(v))
        return ("%d" % n) if first or n < 0 else (" %d" % n)

    def emit(cmd, *points):
        x0, y0 = state["pos"]
        text = "" if cmd == state["cmd"] and cmd not in "mz" else cmd
        first = bool(text)
        points = [(x / GLYPH_STEP, y / GLYPH_STEP) for (x, y) in points]
        for (x, y) in points:
            # Every point of a segment is relative to the segment's start.
            text += number(x - x0, first) + number(y - y0, False)
            first = False
        out.append(text)
        state["cmd"] = cmd
        if points:
            x, y = points[-1]
            state["pos"] = (x0 + round(x - x0), y0 + round(y - y0))

    class Pen(_font_tools().pens.basePen.BasePen):
        def _moveTo(self, pt):
            emit("m", pt)
            state["start"] = state["pos"]

        def _lineTo(self, pt):
            emit("l", pt)

        def _qCurveToOne(self, pt1, pt2):
            emit("q", pt1, pt2)

        def _curveToOne(self, pt1, pt2, pt3):
            emit("c", pt1, pt2, pt3)

        def _closePath(self):
            emit("z")
            state["pos"] = state["start"]

    glyphs[name].draw(Pen(glyphs))
    return "".join(out)


class Outlines:
    """The glyph outlines one movie uses, to be placed in its <defs>."""

    def __init__(self):
        self.defs = {}  # glyph id -> <path> element

    def glyph(self, weight, name):
        gid = "glyph-%s-%s" % (weight or "regular", name)
        if gid not in self.defs:
            d = glyph_path(_font(weight).getGlyphSet(), name)
            self.defs[gid] = "<path %s/>" % attrs(id=gid, d=d)
        return gid

    def words(self, x, y, s, size, fill, anchor="middle", weight=None, **kw):
        font = _font(weight)
        cmap = font.getBestCmap()
        hmtx = font["hmtx"]
        pairs = font["kern"].getkern(0).kernTable if "kern" in font else {}
        names = [cmap[ord(c)] for c in s]
        uses, pen_x = [], 0
        for i, name in enumerate(names):
            if i:
                pen_x += pairs.get((names[i - 1], name), 0)
            if font["glyf"][name].numberOfContours != 0:
                gid = self.glyph(weight, name)
                at = round(pen_x / GLYPH_STEP)
                uses.append('<use xlink:href="#%s"%s/>' % (gid, ' x="%d"' % at if at else ""))
            pen_x += hmtx[name][0]
        scale = size / font["head"].unitsPerEm * GLYPH_STEP
        left = x - {"start": 0, "middle": 0.5, "end": 1}[anchor] * pen_x / GLYPH_STEP * scale
        transform = "matrix(%s 0 0 %s %s %s)" % (repr(scale), repr(-scale), fmt(left), fmt(y))
        return "<g %s>%s</g>" % (attrs(id=kw.pop("id", None), fill=fill, transform=transform, **kw),
                                 "".join(uses))


# --------------------------------------------------------------------------
# The palette: two tabs over a wheel of 24 hue sectors. Each command element
# carries a <title> and a role ("tab" or "button") for screen readers.

# The hues of the sectors, 1 to 24, as their titles name them.
SECTOR_NAMES = [
    "magentas", "pinks", "reds", "red-oranges", "oranges", "ambers",
    "ochres", "yellows", "olives", "yellow-greens", "greens", "emerald greens",
    "sea greens", "turquoises", "teals", "cyans", "sky blues", "azures",
    "blues", "bright blues", "cornflower blues", "blue-violets", "violets", "purples",
]


def palette():
    w, h = 152, 157
    cx, cy, r_hub, r_out = 76, 90, 20, 62
    body = [
        "<defs>",
        '  <linearGradient id="tabShade" x1="0" y1="0" x2="0" y2="1">',
        '    <stop offset="0" stop-color="#F2F2F2"/>',
        '    <stop offset="1" stop-color="#E0E0E0"/>',
        "  </linearGradient>",
        "</defs>",
        "<rect %s/>" % attrs(id="ground", x=0, y=0, width=w, height=h, fill=WHITE),
        # Header strip: rows 0..21, a grey line on row 22 and column 76.
        titled("rect", "Card 5327", id="tabCard", x=0, y=0, width=76, height=22,
               fill="url(#tabShade)", role="tab", mv_command="5327"),
        titled("rect", "My colours", id="tabCollection", x=77, y=0, width=75, height=22,
               fill="url(#tabShade)", role="tab", mv_command=""),
        "<rect %s/>" % attrs(id="tabDivider", x=76, y=0, width=1, height=22, fill=LINE),
        "<rect %s/>" % attrs(id="headerLine", x=0, y=22, width=w, height=1, fill=LINE),
        text(38, 15, "5327", 11, INK, id="tabCardLabel"),
        text(114.5, 15, "My colours", 11, INK, id="tabCollectionLabel"),
    ]
    for k in range(1, 25):
        a0, a1 = (k - 1) * 15, k * 15
        body.append(titled("path", "Sector %d: %s" % (k, SECTOR_NAMES[k - 1]), id="sector%d" % k,
                           d=wedge_path(cx, cy, r_hub, r_out, a0, a1),
                           fill=sector_colour(k), role="button", mv_paint="card",
                           mv_command=str(k)))
    # Thin white separators between the sectors, well clear of their middles.
    seps = []
    for k in range(24):
        x0, y0 = polar(cx, cy, r_hub, k * 15)
        x1, y1 = polar(cx, cy, r_out + 0.5, k * 15)
        seps.append("M%s,%s L%s,%s" % (fmt(x0), fmt(y0), fmt(x1), fmt(y1)))
    body.append("<path %s/>" % attrs(id="separators", d=" ".join(seps), fill="none",
                                     stroke=WHITE, stroke_width="0.8"))
    body.append("<circle %s/>" % attrs(id="hub", cx=cx, cy=cy, r=r_hub, fill="#F7F7F7",
                                       stroke=LINE, stroke_width="1"))
    return root(w, h, "Tesselle 5327 palette", body)


# --------------------------------------------------------------------------
# The intro: title over a slowly turning wheel; raises "1" after three
# seconds, or at once when clicked anywhere. It is the first thing shown:
# its large words are outlines.

def intro():
    w, h = 210, 690
    cx, cy = 105, 392
    words = Outlines()
    title = words.words(105, 118, "Tesselle", 34, "#2B2B2B", weight="bold", id="introTitle")
    number = words.words(105, 164, "5327", 40, "#5A5A5A", id="introNumber")
    body = [
        "<defs>",
        '  <linearGradient id="introShade" x1="0" y1="0" x2="0" y2="1">',
        '    <stop offset="0" stop-color="#FFFFFF"/>',
        '    <stop offset="1" stop-color="#E2E2E2"/>',
        "  </linearGradient>",
    ] + ["  " + d for d in words.defs.values()] + [
        "</defs>",
        "<rect %s/>" % attrs(id="introGround", x=0, y=0, width=w, height=h,
                             fill="url(#introShade)", mv_command="1"),
        title,
        number,
        "<rect %s/>" % attrs(id="introRule", x=55, y=184, width=100, height=1,
                             fill=LINE),
        text(105, 204, "colour card", 13, "#6A6A6A", id="introSubtitle"),
        # A soft disc behind the wheel, still while the wheel turns.
        "<circle %s/>" % attrs(id="introDisc", cx=cx, cy=cy, r=92, fill="#FFFFFF",
                               stroke="#D4D4D4", stroke_width="1"),
        '<g transform="translate(%d,%d)">' % (cx, cy),
        '  <g id="introWheel">',
        '    <animateTransform attributeName="transform" attributeType="XML" '
        'type="rotate" from="0" to="360" dur="40s" repeatCount="indefinite"/>',
    ]
    for k in range(1, 25):
        a0, a1 = (k - 1) * 15, k * 15
        # No ids: nothing refers to a sector of the intro's wheel, and each
        # id costs the renderer a named node.
        body.append("    <path %s/>" % attrs(d=wedge_path(0, 0, 56, 86, a0, a1),
                                             fill=sector_colour(k)))
        body.append("    <path %s/>" % attrs(d=wedge_path(0, 0, 32, 55, a0 + 7.5, a1 + 7.5),
                                             fill=sector_colour(k, 80, 28)))
    body += [
        "  </g>",
        "</g>",
        "<circle %s/>" % attrs(id="introHub", cx=cx, cy=cy, r=30, fill="#FAFAFA",
                               stroke="#D4D4D4", stroke_width="1"),
        text(105, 640, "click to begin", 11, "#8A8A8A", id="introHint"),
    ]
    return root(w, h, "Tesselle 5327", body,
                mv_autoplay="true", mv_timer_after="3000", mv_timer_command="1")


# --------------------------------------------------------------------------
# Buttons: one always-drawn command rect (the white ring and the face), and
# per-look faces and marks drawn over it.

def button(w, h, command, title, mark):
    """mark(look, dx, dy, ink) returns the element(s) drawn on the face for
    one look; dx, dy shift it (pressed)."""
    body = [
        "<rect %s/>" % attrs(id="button", x=0, y=0, width=w, height=h, fill=WHITE,
                             mv_command=command),
    ]
    looks = [("normal", FACE, INK, 0), ("hover", FACE_HOVER, INK_HOVER, 0),
             ("pressed", FACE_PRESSED, INK, 1)]
    for look, face, ink, shift in looks:
        body.append("<rect %s/>" % attrs(id="face_" + look, x=1, y=1, width=w - 2,
                                         height=h - 2, fill=face, mv_look=look))
        if look == "pressed":
            # A sunken face: a darker line along its top and left edges.
            body.append("<path %s/>" % attrs(
                id="shade_pressed", d="M1,1 H%d V2 H2 V%d H1 Z" % (w - 1, h - 1),
                fill="#A8A8A8", mv_look="pressed"))
        body.extend(mark(look, shift, shift, ink))
    return root(w, h, title, body)


def arrow(direction):
    # A pixel-exact filled arrowhead: columns of 7, 5, 3 and 1 pixels,
    # centred on row 6 of the 13-px button.
    def mark(look, dx, dy, ink):
        if direction > 0:
            d = "M5,3 H6 V4 H7 V5 H8 V6 H9 V7 H8 V8 H7 V9 H6 V10 H5 Z"
        else:
            d = "M8,3 H7 V4 H6 V5 H5 V6 H4 V7 H5 V8 H6 V9 H7 V10 H8 Z"
        a = {"id": "arrow_" + look, "d": d, "fill": ink, "mv_look": look}
        if dx or dy:
            a["transform"] = "translate(%d,%d)" % (dx, dy)
        return ["<path %s/>" % attrs(**a)]
    return mark


def label(w, s, baseline):
    def mark(look, dx, dy, ink):
        return [text(w / 2 + dx, baseline + dy, s, 10, ink, id="label_" + look,
                     mv_look=look)]
    return mark


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, os.pardir, "swf")
    os.makedirs(out, exist_ok=True)
    movies = {
        "kor.svg": palette(),
        "borit.svg": intro(),
        "n.svg": button(13, 13, "click", "Next", arrow(+1)),
        "p.svg": button(13, 13, "click", "Previous", arrow(-1)),
        "addtb.svg": button(83, 16, "add", "Add to collection",
                            label(83, "Add to collection", 11)),
        "del.svg": button(48, 16, "delete", "Delete", label(48, "Delete", 11)),
    }
    for name, svg in movies.items():
        path = os.path.join(out, name)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(svg)
        print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
