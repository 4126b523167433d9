#!/bin/sh
# SPDX-License-Identifier: MIT
# The program as a blind user meets it: Orca, the real screen reader, under
# a window manager (openbox) on Xvfb, in a private D-Bus session with its
# own accessibility bus; the program driven by keys alone. Orca runs with
# speech and braille off (no audio device here) and still writes every
# utterance it builds to its debug file as a "SPEECH OUTPUT" line: each
# step checks that what it should be heard saying appears there after the
# step's keys, in order.
#   orca.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3

. "$source/tests/orca/session.sh"

code_of() {
    awk -F, -v p="$1" -v r="$2" 'NR > 1 && $2 == p && $3 == r { print $4 }' "$source/data/card5327.csv"
}
rows_of() {
    awk -F, -v p="$1" 'NR > 1 && $2 == p { n++ } END { print n }' "$source/data/card5327.csv"
}

first=$(code_of 2 1)
second=$(code_of 2 2)
third=$(code_of 2 3)
set -- $(where K8.04.43)
found_page=$1

heard "Tab to the swatch list" "Colours of the page" Tab Tab
heard "PageDown: the new page" "Page 2, $(rows_of 2) colours" Next
heard "Down frames the first swatch" "$first, " Down
heard "its page and row" "page 2, row 1 of $(rows_of 2)" 
heard "Down frames the next" "$second, " Down
heard "Ctrl+Enter adds" "Added $second, 1 colour" ctrl+Return
heard "Ctrl+Enter again" "$second is in the collection already" ctrl+Return
heard "the same outcome twice is heard twice" "$second is in the collection already" ctrl+Return
heard "Down" "$third, " Down
heard "A adds with Orca running" "Added $third, 2 colours" a
# The field holds the framed code: the Shift+Tab that moves there must not
# hand the focus on at its release, or the code typed next is scrambled.
heard "Shift+Tab to the first code field" "Enter Code" shift+Tab
heard "a code found" "K8.04.43 found on page $found_page" k 8 0 4 4 3 Return
heard "a code not found" "No colour K8.04.99" k 8 0 4 9 9 Return
# A failed lookup leaves the focus where the fields hand it on; Ctrl+1 from
# there (a text box) brings the card panel forward with the keyboard.
heard "Ctrl+1 from a code field" "Card" ctrl+1
heard "Tab to the palette" "Palette" Tab Tab Tab
heard "Right: the next sector" "page " Right
heard "Right" "page " Right
heard "Right" "page " Right
highlighted=$(said_after 0 | grep -o 'page [0-9]*' | tail -n 1 | cut -d' ' -f2)
heard "Enter opens the sector's page" "Page $highlighted, " Return
heard "Ctrl+2: the collection and its entry" "Entry 1 of 2, $second" ctrl+2
heard "Right: the next entry" "Entry 2 of 2, $third" Right
heard "Delete" "Deleted $third, 1 left" Delete
heard "Ctrl+Z" "Restored $third" ctrl+z
heard "Ctrl+Shift+Z" "Deleted $third" ctrl+shift+z
heard "Ctrl+1: the card" "Card" ctrl+1
heard "Tab Tab to the swatch list" "Colours of the page" Tab Tab
heard "Down" "row 1 of" Down
heard "Down" "row 2 of" Down
framed=$(said_after "$mark" | sed -n 's/^\([A-Z][0-9]\.[0-9][0-9]\.[0-9][0-9]\), .*row 2 of.*/\1/p' | tail -n 1)
heard "the Menu key opens the menu, read" "Copy $framed" Menu
heard "Return copies" "Copied $framed" Return
check "the Menu key's copy holds the framed swatch's code" "$(xclip -o -selection clipboard 2>/dev/null)" "$framed"
heard "Shift+F10 opens the menu too" "Copy $framed" shift+F10
xdotool key Escape
finish
