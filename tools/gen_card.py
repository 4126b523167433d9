#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Generates the colour card: data/card5327.csv.

The card has 204 pages of 8 colours. Row 1 is the lightest colour of a page
and row 8 the darkest; Sn numbers the colours 1..1632 in page and row order.

Pages 1-4, the neutrals
    32 greys (chroma 0). Lightness falls in even steps down each page and
    on across the four pages, from L* 97 at page 1 row 1 to L* 4 at page 4
    row 8.

Pages 5-204, the hues
    The pages follow the palette's sector table (SECTOR_PAGE in lch.py):
    sector s owns the pages from its table entry up to the page before the
    next higher entry. Sector s centres on the CIE LCh(ab) hue angle
    sector_hue(s) = (15 s - 30) mod 360 and spans 15 degrees around it.

    A sector of n pages has n ranks, 0..n-1, each a page's worth of
    colours; a rank fixes hue and chroma as below, and Page order says
    which of the sector's pages each rank is put on.

    Hue: the 15 degrees are cut into ten hue steps, digit 0..9, at
        h = centre + (digit - 4.5) * 1.5
    A sector's ranks are dealt into tiers of at most five; each tier
    sweeps the hue from the sector's upper edge down to its lower edge, the
    direction in which the card runs round the circle (sector 8 at 90
    degrees, then 7 at 75, ...). A tier of m ranks takes the digit at the
    middle of each of m equal slices of 0..9, e.g. 3 ranks -> 8, 5, 1.

    Chroma: across a sector's ranks the colours climb evenly from greyed
    to vivid. A rank sits at a fraction f of the way, 0 for rank 0 and 1
    for rank n-1 (a sector of one page sits halfway), and at each row its
    chroma is
        C = round(4 + f * (Cmax - 4))
    where Cmax is the largest whole chroma sRGB can show at that row's
    lightness and the rank's hue (at most 99, two digits). So rank 0 is
    greyed at C* 4 all the way down, and rank n-1 runs along the edge of
    the gamut. Scaling by the row's own gamut keeps the light and dark
    rows, where sRGB is narrow, from collapsing onto a single clipped
    chroma. Every colour is drawn at exactly the whole chroma in its code,
    so the code states the colour truly.

    Lightness: every hue page uses the same ladder, L* 93 at row 1 falling
    by 10 to L* 23 at row 8.

    Page order: a click on a palette sector opens the sector's first page,
    and the palette paints the sector vivid (sector_lch in lch.py: L* 60,
    C* 55 in the sector's hue, less where sRGB cannot show it). So the
    first page is the sector's lead rank: the one holding the colour
    nearest that paint in CIELAB (Euclidean distance, the lower rank on a
    tie). On this card that is always one of the sector's more vivid
    ranks (C* 32 to 71 at L* 63), so the page a sector opens shows the
    sector's own colour rather than the near-greys of rank 0. The other
    ranks follow on the sector's next pages from greyed to vivid, so
    apart from the lead page each tier still sweeps its hue in the card's
    direction.

Code, eight characters "G1.G2.G3"
    G1: the sector letter (A = 1 ... X = 24, Z for the neutrals) and the
        hue step digit (0 for the neutrals);
    G2: chroma C* as two digits;
    G3: lightness L* as two digits.
    Rounding can give two ranks of one sector and hue step the same chroma
    at the same lightness where the gamut is narrow; the higher rank's
    colour is then nudged by one unit of C* (down first) or, failing that,
    of L*, and drawn at the nudged values, so codes stay unique and
    truthful.

Colours are converted to 8-bit sRGB (D65) with lch.lch_to_srgb8.
The script is deterministic: running it again writes the same file.
"""
import csv
import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lch import (SECTOR_PAGE, clip_chroma, in_gamut, lch_to_lab,  # noqa: E402
                 lch_to_srgb8, sector_hue, sector_lch)

PAGES = 204
ROWS = 8
NEUTRAL_PAGES = 4
FIRST_HUE_PAGE = NEUTRAL_PAGES + 1

NEUTRAL_L_TOP = 97        # page 1 row 1
NEUTRAL_L_STEP = 3        # per row, running on across the four pages
HUE_L_LADDER = [93 - 10 * r for r in range(ROWS)]   # 93, 83, ..., 23

HUE_STEPS = 10            # digits 0..9 across a sector
SECTOR_WIDTH = 15.0       # degrees
TIER_PAGES = 5            # at most this many pages sweep the hue once
CHROMA_GREYED = 4
CHROMA_CAP = 99           # two digits in the code

HEADER = ["Sn", "Page", "Row", "Code", "R", "G", "B"]
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                   "..", "data", "card5327.csv")


def sector_pages():
    """{sector: [page, ...]} from the palette's table of first pages."""
    starts = sorted((page, sector) for sector, page in SECTOR_PAGE.items())
    bounds = [page for page, _ in starts] + [PAGES + 1]
    return {sector: list(range(page, bounds[i + 1]))
            for i, (page, sector) in enumerate(starts)}


def sector_letter(sector):
    return chr(ord("A") + sector - 1)


def hue_of(sector, digit):
    step = SECTOR_WIDTH / HUE_STEPS
    return (sector_hue(sector) + (digit - (HUE_STEPS - 1) / 2) * step) % 360


def tier_sizes(n):
    """Split n pages into the fewest tiers of at most TIER_PAGES, evenly."""
    tiers = max(1, math.ceil(n / TIER_PAGES))
    return [n // tiers + (1 if t < n % tiers else 0) for t in range(tiers)]


def hue_digits(n):
    """Hue step digit of each of a sector's n ranks, in rank order."""
    digits = []
    for m in tier_sizes(n):
        # middle of each of m equal slices of 0..9, upper slice first
        digits += [int((m - 1 - j + 0.5) * HUE_STEPS / m) for j in range(m)]
    return digits


def chroma_fractions(n):
    """Each rank's place between greyed (0) and vivid (1), in rank order."""
    if n == 1:
        return [0.5]
    return [i / (n - 1) for i in range(n)]


def max_chroma(L, h):
    """Largest whole chroma in gamut at (L, h), at most CHROMA_CAP."""
    c = min(CHROMA_CAP, int(math.floor(clip_chroma(L, 200.0, h) + 1e-9)))
    while c > 0 and not in_gamut(L, c, h):
        c -= 1
    return c


def page_chroma(f, L, h):
    cmax = max_chroma(L, h)
    if cmax <= CHROMA_GREYED:
        return cmax
    return int(math.floor(CHROMA_GREYED + f * (cmax - CHROMA_GREYED) + 0.5))


def code_of(letter, digit, C, L):
    return "%s%d.%02d.%02d" % (letter, digit, C, L)


def nudged(letter, digit, L, C, h, taken):
    """(L, C) as close to the wanted one as fits and gives a free code."""
    candidates = [(L, C), (L, C - 1), (L, C + 1), (L - 1, C), (L + 1, C)]
    for l, c in candidates:
        if not (0 <= c <= CHROMA_CAP and 0 <= l <= 99):
            continue
        if not in_gamut(l, c, h):
            continue
        if code_of(letter, digit, c, l) not in taken:
            return l, c
    raise RuntimeError("no free code near %s" % code_of(letter, digit, C, L))


def lead_rank(sector, ranks):
    """Rank whose nearest colour lies nearest the sector's palette paint.
    ranks: per rank, the (L, C, h) drawn on each of its rows."""
    paint = lch_to_lab(*sector_lch(sector))
    gaps = [min(math.dist(paint, lch_to_lab(*lch)) for lch in drawn)
            for drawn in ranks]
    return gaps.index(min(gaps))


def page_order(lead, n):
    """Ranks in page order: the lead rank, then the others as they climb."""
    return [lead] + [r for r in range(n) if r != lead]


def build():
    rows = []
    taken = set()
    nudges = []

    def draw(letter, digit, L, C, h):
        """(code, L, C) of a colour, nudged off any code already taken."""
        l, c = nudged(letter, digit, L, C, h, taken)
        if (l, c) != (L, C):
            nudges.append((code_of(letter, digit, C, L),
                           code_of(letter, digit, c, l)))
        code = code_of(letter, digit, c, l)
        taken.add(code)
        return code, l, c

    def add(page, row, code, L, C, h):
        rows.append([page, row, code] + list(lch_to_srgb8(L, C, h)))

    for page in range(1, NEUTRAL_PAGES + 1):
        for row in range(1, ROWS + 1):
            j = (page - 1) * ROWS + (row - 1)
            L = NEUTRAL_L_TOP - NEUTRAL_L_STEP * j
            code, l, c = draw("Z", 0, L, 0, 0.0)
            add(page, row, code, l, c, 0.0)

    # Codes are drawn rank by rank, before the ranks are put on pages, so
    # a nudge falls on the higher rank whichever page that ends up on.
    for sector, pages in sector_pages().items():
        n = len(pages)
        letter = sector_letter(sector)
        ranks = []
        for digit, f in zip(hue_digits(n), chroma_fractions(n)):
            h = hue_of(sector, digit)
            colours = []
            for L in HUE_L_LADDER:
                code, l, c = draw(letter, digit, L, page_chroma(f, L, h), h)
                colours.append((code, l, c, h))
            ranks.append(colours)
        lead = lead_rank(sector, [[(l, c, h) for _, l, c, h in colours]
                                  for colours in ranks])
        for page, rank in zip(pages, page_order(lead, n)):
            for row, (code, l, c, h) in enumerate(ranks[rank], start=1):
                add(page, row, code, l, c, h)

    rows.sort(key=lambda r: (r[0], r[1]))
    return [[sn] + r for sn, r in enumerate(rows, start=1)], nudges


def main():
    rows, nudges = build()
    codes = [r[3] for r in rows]
    assert len(rows) == PAGES * ROWS
    assert len(set(codes)) == len(codes)
    assert all(len(c) == 8 for c in codes)

    out = os.path.normpath(OUT)
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(HEADER)
        w.writerows(rows)

    print("wrote %s" % out)
    print("colours: %d, unique codes: %d, nudged: %d"
          % (len(rows), len(set(codes)), len(nudges)))
    for wanted, got in nudges:
        print("  %s -> %s" % (wanted, got))
    for r in rows:
        if r[3] == "K8.04.43":
            print("K8.04.43: Sn %d, page %d, row %d, RGB %d,%d,%d"
                  % (r[0], r[1], r[2], r[4], r[5], r[6]))
            break
    else:
        print("K8.04.43: missing")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
