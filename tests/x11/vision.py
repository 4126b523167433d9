# SPDX-License-Identifier: MIT
"""The reference for a colour as another eye sees it, from outside parts:
colorspacious's Machado, Oliveira and Fernandes (2009) on linear sRGB
(achromatopsia: the luminance Y), clipped in linear light, encoded and
rounded; then, with a display profile, Pillow's ImageCms (Little CMS),
relative colorimetric with black-point compensation.

  vision.py expect KIND SEVERITY RRGGBB [PROFILE]   the pixel, as rrggbb
"""
import sys

import numpy as np
from colorspacious import cspace_convert
from colorspacious.cvd import machado_et_al_2009_matrix

KINDS = {"protanopia": "protanomaly", "deuteranopia": "deuteranomaly", "tritanopia": "tritanomaly"}


def seen(rgb, kind, severity):
    linear = cspace_convert(np.asarray(rgb, dtype=float) / 255, "sRGB1", "sRGB1-linear")
    if kind == "achromatopsia":
        y = cspace_convert(linear, "sRGB1-linear", "XYZ100")[1] / 100
        out = np.array([y, y, y])
    else:
        out = machado_et_al_2009_matrix(KINDS[kind], severity * 100) @ linear
    out = np.clip(out, 0, 1)
    return tuple(int(v) for v in np.rint(cspace_convert(out, "sRGB1-linear", "sRGB1") * 255))


def main():
    if len(sys.argv) not in (5, 6) or sys.argv[1] != "expect":
        print(__doc__)
        return 2
    kind, severity, rgb = sys.argv[2], float(sys.argv[3]), sys.argv[4]
    colour = seen(tuple(int(rgb[i:i + 2], 16) for i in (0, 2, 4)), kind, severity)
    if len(sys.argv) == 6:
        from PIL import Image, ImageCms
        transform = ImageCms.buildTransform(
            ImageCms.createProfile("sRGB"), ImageCms.getOpenProfile(sys.argv[5]), "RGB", "RGB",
            renderingIntent=ImageCms.Intent.RELATIVE_COLORIMETRIC,
            flags=ImageCms.FLAGS["BLACKPOINTCOMPENSATION"])
        colour = ImageCms.applyTransform(Image.new("RGB", (1, 1), colour), transform).getpixel((0, 0))
    print("%02x%02x%02x" % colour)
    return 0


if __name__ == "__main__":
    sys.exit(main())
