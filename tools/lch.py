# SPDX-License-Identifier: MIT
"""CIE LCh(ab) to sRGB (D65) conversion with gamut clipping.

Shared by the card generator and the movie generator, so that a palette
sector is painted in exactly the hue of the card pages it leads to.
"""
import math

# D65 reference white, CIE 1931 2-degree observer.
_XN, _YN, _ZN = 0.95047, 1.0, 1.08883


def _lab_to_xyz(L, a, b):
    fy = (L + 16.0) / 116.0
    fx = fy + a / 500.0
    fz = fy - b / 200.0
    eps = 6.0 / 29.0

    def finv(t):
        return t ** 3 if t > eps else 3 * eps * eps * (t - 4.0 / 29.0)

    return _XN * finv(fx), _YN * finv(fy), _ZN * finv(fz)


def _linear_to_srgb(c):
    if c <= 0.0031308:
        return 12.92 * c
    return 1.055 * c ** (1 / 2.4) - 0.055


def lch_to_linear_rgb(L, C, h):
    """Linear-light sRGB components (may fall outside 0..1)."""
    a = C * math.cos(math.radians(h))
    b = C * math.sin(math.radians(h))
    x, y, z = _lab_to_xyz(L, a, b)
    r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z
    g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z
    bl = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z
    return r, g, bl


def in_gamut(L, C, h, tol=1e-9):
    return all(-tol <= c <= 1 + tol for c in lch_to_linear_rgb(L, C, h))


def clip_chroma(L, C, h):
    """Largest chroma <= C at (L, h) that fits in sRGB (bisection)."""
    if in_gamut(L, C, h):
        return C
    lo, hi = 0.0, C
    for _ in range(40):
        mid = (lo + hi) / 2
        if in_gamut(L, mid, h):
            lo = mid
        else:
            hi = mid
    return lo


def lch_to_srgb8(L, C, h):
    """(R, G, B) 0..255 for an LCh colour, chroma reduced until it fits."""
    C = clip_chroma(L, C, h)
    out = []
    for c in lch_to_linear_rgb(L, C, h):
        c = min(1.0, max(0.0, c))
        out.append(int(round(_linear_to_srgb(c) * 255)))
    return tuple(out)


def lch_to_lab(L, C, h):
    """(L*, a*, b*) of an LCh colour."""
    return L, C * math.cos(math.radians(h)), C * math.sin(math.radians(h))


def sector_hue(sector):
    """Hue angle in degrees on which palette sector 1..24 centres."""
    return (15 * sector - 30) % 360


# The palette paints every sector at this lightness and chroma in its hue.
SECTOR_L = 60.0
SECTOR_C = 55.0


def sector_lch(sector):
    """(L, C, h) the palette paints sector 1..24 in, chroma reduced where
    sRGB cannot show it (lch_to_srgb8 of it gives the fill)."""
    h = sector_hue(sector)
    return SECTOR_L, clip_chroma(SECTOR_L, SECTOR_C, h), h


# Sector -> first card page, as the palette leads to it.
SECTOR_PAGE = {
    1: 109, 2: 90, 3: 70, 4: 50, 5: 35, 6: 22, 7: 10, 8: 5,
    9: 200, 10: 197, 11: 194, 12: 190, 13: 186, 14: 179, 15: 172, 16: 165,
    17: 157, 18: 151, 19: 145, 20: 140, 21: 139, 22: 129, 23: 122, 24: 115,
}
