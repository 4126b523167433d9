#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""What the program says on Wayland of what Wayland does not let it do,
read through AT-SPI as a screen reader reads it.

  notices.py about   About, open: a paragraph "On Wayland: ..." naming pick
                     from screen, Find colour's place and the display
                     profile.
  notices.py find    Find colour, open: Pick from screen disabled, its
                     reason as its description, and the dialog saying that
                     the screen cannot be read and the dialog not placed.

Run by keys.sh with the program on the session's accessibility bus; prints
a PASS or FAIL line per check and "N passed, M failed"; exits non-zero
when a check failed.
"""
import sys

import atspi
from atspi import check, descendants, pump_until, showing, the_program
import pyatspi


def labels(app):
    return [obj.name for obj in descendants(app) if obj.getRole() == pyatspi.ROLE_LABEL and showing(obj)]


def has_all(text, words):
    return all(word in text for word in words)


def about(app):
    def paragraphs():
        return [text for text in labels(app) if text.startswith("On Wayland:")]
    pump_until(paragraphs)
    said = paragraphs()
    check("About has an \"On Wayland:\" paragraph", len(said), 1)
    check("it names pick from screen, Find colour's place and the display profile",
          has_all(" ".join(said), ("Pick from screen", "Find colour", "place", "display profile")), True)


def find(app):
    def buttons():
        return [obj for obj in descendants(app) if obj.getRole() == pyatspi.ROLE_PUSH_BUTTON
                and obj.name == "Pick from screen" and showing(obj)]
    pump_until(buttons)
    pick = buttons()
    check("Find colour shows Pick from screen", len(pick), 1)
    if pick:
        check("Pick from screen is disabled", pick[0].getState().contains(pyatspi.STATE_ENABLED), False)
        check("its description gives the reason", "Wayland" in pick[0].description, True)
    notes = [text for text in labels(app) if "Pick from screen" in text]
    check("the dialog says Pick from screen is not available and where it opens",
          len(notes) == 1 and has_all(notes[0], ("not available", "beside the card")), True)


def main():
    app = None
    if pump_until(lambda: the_program() is not None):
        app = the_program()
    check("the program is on the accessibility bus", app is not None, True)
    if app is not None:
        {"about": about, "find": find}[sys.argv[1]](app)
    print("%d passed, %d failed" % (atspi.passed, atspi.failed))
    sys.exit(1 if atspi.failed else 0)


if __name__ == "__main__":
    main()
