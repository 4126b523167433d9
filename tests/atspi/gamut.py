#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Swatch descriptions on a screen whose profile cannot show every card
colour (a small-gamut profile on the root window): a colour the screen
shows more than ΔE00 2 off is described with "this screen shows it about
ΔE x off", one it shows is not, and the name (the code) never changes.
The expected ΔE is worked out apart from the program: Pillow's ImageCms
for what the screen shows, scikit-image for CIEDE2000.

Usage: gamut.py <card5327.csv> <small.icc>   (run by gamut.sh)
"""
import re
import sys

import numpy
from PIL import Image, ImageCms
from skimage.color import deltaE_ciede2000, rgb2lab

import atspi
from atspi import card_rows, check, press, pump_until, shown, swatches, the_program
import pyatspi


def shown_off(rgb, profile):
    """ΔE00 between an sRGB colour and what the profile's screen shows of
    it: sRGB to the screen, clipped to its gamut, and back to sRGB (the
    small gamut lies within sRGB's)."""
    srgb = ImageCms.createProfile("sRGB")
    intent = ImageCms.Intent.RELATIVE_COLORIMETRIC
    to_screen = ImageCms.buildTransform(srgb, profile, "RGB", "RGB", renderingIntent=intent,
                                        flags=ImageCms.FLAGS["BLACKPOINTCOMPENSATION"])
    back = ImageCms.buildTransform(profile, srgb, "RGB", "RGB", renderingIntent=intent)
    pixel = ImageCms.applyTransform(ImageCms.applyTransform(Image.new("RGB", (1, 1), rgb), to_screen), back)
    meant = rgb2lab(numpy.array([[rgb]], dtype=float) / 255)
    seen = rgb2lab(numpy.array([[pixel.getpixel((0, 0))]], dtype=float) / 255)
    return float(deltaE_ciede2000(meant, seen)[0][0])


def main():
    rows = card_rows(sys.argv[1])
    profile = ImageCms.getOpenProfile(sys.argv[2])
    pump_until(lambda: the_program() is not None)
    app = the_program()
    check("the program is on the accessibility bus", app is not None, True)
    if app is None:
        return
    # Page 1's greys: the small gamut shows them.
    pump_until(lambda: len(swatches(app)) == len(rows[1]))
    for (name, description), (code, rgb) in zip(swatches(app), rows[1]):
        expected = shown_off(rgb, profile)
        check("%s (ΔE %.1f) is described as it is" % (code, expected), description,
              "#%02x%02x%02x, rgb(%d, %d, %d)" % (rgb + rgb))
    sector = shown(app, pyatspi.ROLE_PUSH_BUTTON, "Sector 3: reds, page 70")
    check("pressing sector 3", sector is not None and press(sector), True)
    pump_until(lambda: [name.split(",")[0] for name, _ in swatches(app)] == [c for c, _ in rows[70]])
    listed = swatches(app)
    check("page 70 shown", len(listed), len(rows[70]))
    warned = 0
    for (name, description), (code, rgb) in zip(listed, rows[70]):
        check("%s keeps its code as its name" % code, name.split(",")[0], code)
        colour = "#%02x%02x%02x, rgb(%d, %d, %d)" % (rgb + rgb)
        expected = shown_off(rgb, profile)
        said = re.fullmatch(re.escape(colour) + r"; this screen shows it about ΔE (\d+\.\d) off", description)
        if expected >= 2.5:
            warned += 1
            check("%s (ΔE %.1f off) is said to be off" % (code, expected), said is not None, True)
            if said:
                check("%s: the ΔE said is about right" % code, abs(float(said.group(1)) - expected) <= 0.6, True)
        elif expected <= 1.5:
            check("%s (ΔE %.1f) is described as it is" % (code, expected), description, colour)
    check("some of page 70 lies beyond the screen's gamut", warned > 0, True)


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # a broken bus or tree is a failure, told
        print("FAIL: %s: %s" % (type(error).__name__, error))
        atspi.failed += 1
    print("%d passed, %d failed" % (atspi.passed, atspi.failed))
    sys.exit(1 if atspi.failed else 0)
