#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The running program's window read as a screen reader reads it, through
the AT-SPI registry with pyatspi: the swatches named by the card's codes
and described by their colours, presses through the accessibility actions
doing what clicks do, and the status bar's name telling what changed while
it stays hidden. The expected codes and colours come from the card's CSV.

Usage: atspi.py <card5327.csv>   (run by atspi.sh, on the session it made)
Prints a PASS or FAIL line per check and "N passed, M failed" last; exits
non-zero when a check failed.
"""
import csv
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

WAIT_SECONDS = 10
passed = 0
failed = 0


def check(what, got, expected):
    global passed, failed
    if got == expected:
        print("PASS: %s" % what)
        passed += 1
    else:
        print("FAIL: %s: expected %r, got %r" % (what, expected, got))
        failed += 1


def pump_until(condition):
    """Lets the bus deliver what it holds until condition() holds, or for
    WAIT_SECONDS at most (a slow machine is no failure); returns whether it
    held."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        while context.iteration(False):
            pass
        if condition():
            return True
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)


def card_rows(path):
    """{page: [(code, (r, g, b)), ...] in row order} from the card's CSV."""
    pages = {}
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            pages.setdefault(int(row["Page"]), []).append(
                (int(row["Row"]), row["Code"], (int(row["R"]), int(row["G"]), int(row["B"]))))
    return {page: [(code, rgb) for _, code, rgb in sorted(rows)] for page, rows in pages.items()}


def the_program():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "tesselle":
            return app
    return None


def descendants(obj):
    for child in obj:
        if child is not None:
            yield child
            yield from descendants(child)


def showing(obj):
    return obj.getState().contains(pyatspi.STATE_SHOWING)


def shown(app, role, name):
    for obj in descendants(app):
        if obj.getRole() == role and obj.name == name and showing(obj):
            return obj
    return None


def press(obj):
    """Does obj's "Press" action; False when it has none."""
    try:
        actions = obj.queryAction()
    except NotImplementedError:
        return False
    for i in range(actions.nActions):
        if actions.getName(i) == "Press":
            return actions.doAction(i)
    return False


def swatches(app):
    """(name, description) of each swatch shown, top to bottom."""
    items = [obj for obj in descendants(app) if obj.getRole() == pyatspi.ROLE_LIST_ITEM and showing(obj)]
    items.sort(key=lambda obj: obj.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)[1])
    return [(obj.name, obj.description) for obj in items]


def expected_swatches(rows, page):
    """(name, description) of each swatch: the name starts with its code
    and ends with its page and row (its colour in words stands between);
    the description is its colour."""
    return [(("%s, " % code, ", page %d, row %d of %d" % (page, i, len(rows[page]))),
             "#%02x%02x%02x, rgb(%d, %d, %d)" % (rgb + rgb))
            for i, (code, rgb) in enumerate(rows[page], 1)]


def matching(shown_swatches, expected):
    """The swatches shown, with each name that has the expected start and
    end given as those, so that the two lists compare."""
    result = []
    for (name, description), ((start, end), _) in zip(shown_swatches, expected):
        result.append(((start, end) if name.startswith(start) and name.endswith(end) else name, description))
    return result + shown_swatches[len(expected):]


def main():
    rows = card_rows(sys.argv[1])

    # What the status bar says, as a screen reader hears it: its name when
    # it tells of a change (Qt's event carries the object, not the name),
    # and whether it was shown.
    said = []

    def on_name(event):
        if event.source is not None and event.source.getRole() == pyatspi.ROLE_STATUS_BAR:
            said.append((event.source.name, showing(event.source)))

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")

    app = None
    pump_until(lambda: the_program() is not None)
    app = the_program()
    check("the program is on the accessibility bus", app is not None, True)
    if app is None:
        return

    window = app[0]
    check("the window", (window.getRoleName(), window.name), ("frame", "Tesselle 5327"))
    check("the intro is gone", shown(app, pyatspi.ROLE_PUSH_BUTTON, "Introduction"), None)
    check("page 1's swatches by their codes and colours", matching(swatches(app), expected_swatches(rows, 1)),
          expected_swatches(rows, 1))
    for name in ("Next page", "Previous page", "Add to collection"):
        check("%s is a push button" % name, shown(app, pyatspi.ROLE_PUSH_BUTTON, name) is not None, True)
    for name in ("Page number", "Code, first group", "Code, second group", "Code, third group"):
        check("%s is a text box" % name, shown(app, pyatspi.ROLE_TEXT, name) is not None, True)

    steps = [
        ("Next page", pyatspi.ROLE_PUSH_BUTTON, 2),
        ("Previous page", pyatspi.ROLE_PUSH_BUTTON, 1),
        ("Sector 3: reds, page 70", pyatspi.ROLE_PUSH_BUTTON, 70),
    ]
    for name, role, page in steps:
        target = shown(app, role, name)
        del said[:]
        check("pressing %s" % name, target is not None and press(target), True)
        expected = expected_swatches(rows, page)
        told = "Page %d, %d colours" % (page, len(rows[page]))
        pump_until(lambda: matching(swatches(app), expected) == expected and (told, False) in said)
        check("%s shows page %d's swatches" % (name, page), matching(swatches(app), expected), expected)
        check("%s is told, the notice hidden" % name, (told, False) in said, True)

    # Codes typed into the code fields as a person types them, the first
    # field focused through the bus: a found code, then a missing one
    # entered twice, which is told twice.
    field = shown(app, pyatspi.ROLE_TEXT, "Code, first group")
    check("focusing the first code field", field is not None and field.queryComponent().grabFocus(), True)
    pump_until(lambda: field.getState().contains(pyatspi.STATE_FOCUSED))
    found = rows[2][7][0]
    missing = "ZZ.99.99"
    del said[:]
    for keys, told in ((found.replace(".", ""), "%s found on page 2" % found),
                       (missing.replace(".", ""), "No colour %s" % missing),
                       ("", "No colour %s" % missing)):
        before = said.count((told, False))
        if keys:
            subprocess.run(["xdotool", "type", "--delay", "60", keys], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        pump_until(lambda: said.count((told, False)) > before)
        check("%s%s is told, the notice hidden" % (told, " again" if before else ""),
              said.count((told, False)) > before, True)

    tab = shown(app, pyatspi.ROLE_PAGE_TAB, "My colours")
    check("pressing the My colours tab", tab is not None and press(tab), True)
    pump_until(lambda: shown(app, pyatspi.ROLE_PANEL, "Collection") is not None)
    check("the collection is shown", shown(app, pyatspi.ROLE_PANEL, "Collection") is not None, True)
    check("the card is hidden", shown(app, pyatspi.ROLE_PANEL, "Card"), None)


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # a broken bus or tree is a failure, told
        print("FAIL: %s: %s" % (type(error).__name__, error))
        failed += 1
    print("%d passed, %d failed" % (passed, failed))
    sys.exit(1 if failed else 0)
