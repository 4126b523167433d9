#!/bin/sh
# SPDX-License-Identifier: MIT
# The keyboard on Wayland: the keys of the X11 keys test and the card's
# own, typed by wtype into the program under a headless sway, the result
# read from the screen's pixels (grim) and the collection's file. Wayland
# gives no pointer here, so the page box and the code fields are reached
# by Tab, as a keyboard user reaches them. What Wayland does not allow is
# said by the program: read through AT-SPI (notices.py) and on standard
# error.
#   keys.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"
sqlite3 "$work/program/dbtsl.db" \
    "insert into baby2 (ccard_name, code) values ('5327', 'K8.04.43'), ('5327', 'E9.04.53'), ('5327', 'A5.60.63')"
start_program
check "the window has the keyboard" "$(focused_window)" "Tesselle 5327"
shot card

# The collection's entries (sn|code), once they are as expected or after
# five seconds.
entries() {
    settled "$1" sqlite3 "$work/program/dbtsl.db" \
        "select group_concat(sn || '|' || code, ' ') from (select * from baby2 order by sn)" || true
}
# The code of a page's row.
code_at() { awk -F, -v p="$1" -v r="$2" 'NR > 1 && $2 == p && $3 == r { print $4 }' "$source/data/card5327.csv"; }
# The frame's top edge over swatch n: black while it is framed.
frame_y() { echo $(($(swatch_y "$1") - 22)); }

# Page box, by Tab from the card (the code field, the swatches, the
# palette, the page box): 12, Home, Delete leaves 2; Enter shows page 2.
keys Tab Tab Tab Tab End BackSpace BackSpace BackSpace 1 2 Home Delete Return
check "Tab to the page box; Home, Delete edit it: page 2 shown" \
    "$(wait_for_pixel $swatch_x "$(swatch_y 1)" "$(card 2 1)")" "$(card 2 1)"

# Back to the first code field; two codes looked up one after the other.
keys shift+Tab shift+Tab shift+Tab k 8 0 4 4 3 Return
code_shown "K8.04.43 found and shown" K8.04.43
keys a 5 6 0 6 3 Return
code_shown "a second code typed after the first is found" A5.60.63
set -- $(where A5.60.63)
page=$(($1 + 1))

# The card's keys, back on the card: PageDown, Down, Ctrl+C, Ctrl+Enter.
keys shift+Tab Next
check "PageDown shows the next page" "$(wait_for_pixel $swatch_x "$(swatch_y 1)" "$(card $page 1)")" "$(card $page 1)"
keys Down
check "Down frames the first swatch" "$(settled 000000 pixel $swatch_x "$(frame_y 1)")" 000000
added=$(code_at $page 1)
clipboard() { wl-paste --no-newline 2>/dev/null || true; }
keys ctrl+c
check "Ctrl+C copies its code, read by wl-paste" "$(settled "$added" clipboard)" "$added"
keys ctrl+Return
check "Ctrl+Enter adds the framed colour" "$(entries "1|K8.04.43 2|E9.04.53 3|A5.60.63 4|$added")" \
    "1|K8.04.43 2|E9.04.53 3|A5.60.63 4|$added"

# The collection by keys alone: Ctrl+2 brings it forward, Right shows the
# second entry, Delete deletes it, Ctrl+Z brings it back with its own
# serial number, Ctrl+Shift+Z deletes it again, Ctrl+1 goes back to the card.
keys ctrl+2
check "Ctrl+2 shows the collection's first entry" \
    "$(wait_for_pixel 105 300 "$(card $(where K8.04.43))")" "$(card $(where K8.04.43))"
shot collection
keys Right
check "Right shows the second entry" \
    "$(wait_for_pixel 105 300 "$(card $(where E9.04.53))")" "$(card $(where E9.04.53))"
keys Delete
check "Delete deletes the second entry" "$(entries "1|K8.04.43 3|A5.60.63 4|$added")" "1|K8.04.43 3|A5.60.63 4|$added"
keys ctrl+z
check "Ctrl+Z restores it in its place" \
    "$(entries "1|K8.04.43 2|E9.04.53 3|A5.60.63 4|$added")" "1|K8.04.43 2|E9.04.53 3|A5.60.63 4|$added"
keys ctrl+shift+z ctrl+1
check "Ctrl+Shift+Z deletes it again" "$(entries "1|K8.04.43 3|A5.60.63 4|$added")" "1|K8.04.43 3|A5.60.63 4|$added"
check "Ctrl+1 shows the card again" "$(wait_for_pixel $swatch_x "$(swatch_y 1)" "$(card $page 1)")" "$(card $page 1)"

# The Menu key opens the framed swatch's menu over it; Escape closes it.
# A point of the swatch that the menu covers.
menu_x=$((swatch_x + 40))
menu_y=$(($(swatch_y 1) + 10))
covered() { [ "$(pixel $menu_x $menu_y)" != "$(card $page 1)" ] && echo covered || echo bare; }
keys Menu
check "Menu opens the swatch's menu" "$(settled covered covered)" covered
shot menu
keys Escape
check "Escape closes it" "$(settled bare covered)" bare

# About, the menu's last entry: on Wayland it says what Wayland does not
# allow.
keys Menu Up Return
check "About opens from the menu" "$(window_named 'About Tesselle 5327' 5 >/dev/null && echo yes || echo no)" yes
shot about
if PYTHONPATH="$source/tests/atspi" /usr/bin/python3 "$source/tests/wayland/notices.py" about; then
    pass "About says what Wayland does not allow"
else
    fail "About says what Wayland does not allow"
fi
keys Escape
check "Escape closes About" "$(settled "Tesselle 5327" focused_window)" "Tesselle 5327"

# Find colour: Ctrl+F opens it; a code typed and Enter lists the nearest;
# Tab to the list and Enter frames the first on the card. Pick from screen
# and its place are said.
keys ctrl+f
check "Ctrl+F opens Find colour" "$(window_named 'Find colour' 5 >/dev/null && echo yes || echo no)" yes
check "Find colour has the keyboard" "$(settled "Find colour" focused_window)" "Find colour"
if PYTHONPATH="$source/tests/atspi" /usr/bin/python3 "$source/tests/wayland/notices.py" find; then
    pass "Find colour says Pick from screen and its place are not available"
else
    fail "Find colour says Pick from screen and its place are not available"
fi
type_text K8.04.43
keys Return
shot find-colour
# Closed before the card is read: the compositor puts it over the card.
keys Tab Return Escape
set -- $(where K8.04.43)
check "a colour chosen in Find colour is framed on the card" "$(settled 000000 pixel $swatch_x "$(frame_y "$2")")" 000000
check "and its page is shown" "$(pixel $swatch_x "$(swatch_y "$2")")" "$(card "$1" "$2")"

# The display profile: said once on standard error.
check "no display profile, said on standard error" \
    "$(grep -c 'compositor gives no display profile' "$work/program.log")" 1
finish
