#!/bin/sh
# SPDX-License-Identifier: MIT
# What a copy from the window puts on the clipboard, read by another
# program (xclip) on a real X server: a grey and a vivid swatch, and a
# collection entry whose colour is unknown. The expected texts come from the
# card's CSV, not from the program.
#   clipboard.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"
sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', 'ZZ.99.99')"
start_program

# Waits for the clipboard to hold something else than before.
clipboard() {
    for _ in $(seq 25); do
        text=$(xclip -o -selection clipboard 2>/dev/null || true)
        [ -n "$text" ] && [ "$text" != "${1:-}" ] && break
        sleep 0.2
    done
    echo "$text"
}
hex() { printf '#%s' "$(card "$1" "$2")"; }
rgb() {
    awk -F, -v p="$1" -v r="$2" 'NR > 1 && $2 == p && $3 == r { printf "rgb(%d, %d, %d)", $5, $6, $7 }' \
        "$source/data/card5327.csv"
}

# A grey of page 1: its code is the menu's first entry, its hex the second.
set -- 1 3
code=$(awk -F, 'NR > 1 && $2 == 1 && $3 == 3 { print $4 }' "$source/data/card5327.csv")
click $swatch_x "$(swatch_y 3)" 3
keys Down Return
check "a grey's code" "$(clipboard)" "$code"
click $swatch_x "$(swatch_y 3)" 3
keys Down Down Return
check "a grey's #rrggbb" "$(clipboard "$code")" "$(hex 1 3)"

# A vivid colour: the page a palette sector opens.
click 115 598
keys a 5 6 0 6 3 Return
set -- $(where A5.60.63)
wait_for_pixel $swatch_x "$(swatch_y "$2")" "$(card "$1" "$2")" >/dev/null || true
click $swatch_x "$(swatch_y "$2")" 3
keys Down Down Down Return
check "a vivid colour's rgb()" "$(clipboard "$(hex 1 3)")" "$(rgb "$1" "$2")"

# The unknown entry of the collection offers its code only: the menu's
# first entry copies it, the second is no colour but the export.
click 143 40
click 106 368 3
keys Down Return
check "an unknown entry's code" "$(clipboard "$(rgb "$1" "$2")")" "ZZ.99.99"
finish
