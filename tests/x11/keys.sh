#!/bin/sh
# SPDX-License-Identifier: MIT
# Keys on a real X server: the collection's keys, and those of the
# page-number box and the code fields:
# the program runs under Xvfb in a program folder of its own, xdotool types
# as a user does, and the result is read from the screen's pixels.
#   keys.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"
sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', 'K8.04.43'), ('5327', 'E9.04.53'), ('5327', 'A5.60.63')"
start_program

# The collection's entries (sn|code), once they are as expected or after
# five seconds.
entries() {
    settled "$1" sqlite3 "$work/dbtsl.db" \
        "select group_concat(sn || '|' || code, ' ') from (select * from baby2 order by sn)" || true
}

# The collection by keys alone: Ctrl+2 brings it forward, Right shows the
# second entry, Delete deletes it, Ctrl+Z brings it back with its own
# serial number, Ctrl+Shift+Z deletes it again, Ctrl+1 goes back to the card.
keys ctrl+2 Right Delete
check "Ctrl+2, Right, Delete deletes the second entry" \
    "$(entries '1|K8.04.43 3|A5.60.63')" '1|K8.04.43 3|A5.60.63'
keys ctrl+z
check "Ctrl+Z restores it in its place" \
    "$(entries '1|K8.04.43 2|E9.04.53 3|A5.60.63')" '1|K8.04.43 2|E9.04.53 3|A5.60.63'
keys ctrl+shift+z ctrl+1
check "Ctrl+Shift+Z deletes it again" "$(entries '1|K8.04.43 3|A5.60.63')" '1|K8.04.43 3|A5.60.63'

# Page box: 12, Home, Delete leaves 2; Enter shows page 2.
click 115 572
keys End BackSpace BackSpace BackSpace 1 2 Home Delete Return
check "Home, Delete in the page box edits: page 2 shown" \
    "$(wait_for_pixel $swatch_x "$(swatch_y 1)" "$(card 2 1)")" "$(card 2 1)"

# Two codes looked up one after the other.
click 115 598
keys k 8 0 4 4 3 Return
code_shown "K8.04.43 found and shown" K8.04.43
keys a 5 6 0 6 3 Return
code_shown "a second code typed after the first is found" A5.60.63
finish
