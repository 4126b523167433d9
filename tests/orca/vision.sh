#!/bin/sh
# SPDX-License-Identifier: MIT
# "See as" and the check for colour-blind viewers as a blind user meets
# them, by keys alone with Orca (tests/orca/session.sh): the vision chosen
# is heard, and so is every row of the list of colours that look alike.
#   vision.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3

# A collection holding pairs that colour-blind viewers confuse: a grey and
# a pink, an olive brown and a rust.
collect() {
    for code in Z0.00.49 C3.37.53 G6.28.23 E7.35.23; do
        sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', '$code')"
    done
}
prepare=collect
. "$source/tests/orca/session.sh"

heard "Ctrl+2: the collection" "Entry 1 of 4, Z0.00.49" ctrl+2
heard "Ctrl+Shift+V: the next vision" "Seen as protanopia" ctrl+shift+v
heard "Ctrl+Shift+V again" "Seen as deuteranopia" ctrl+shift+v
heard "the Menu key opens the collection's menu" "Copy Z0.00.49" Menu
# Up from the first entry goes round to the last: the check is a few above.
mark=$(wc -l <"$log")
for _ in $(seq 12); do
    xdotool key Up
    sleep 0.4
    said_after "$mark" | grep -qF "Check for colour-blind viewers" && break
done
heard "the check's entry" "Check for colour-blind viewers"
# Each pair the program lists, as the screen reader must read its row.
rows=$(QT_QPA_PLATFORM=offscreen "$work/tesselle" --database "$work/dbtsl.db" --check-vision 2>/dev/null \
    | awk '{ printf "%s%s: %s and %s look alike\n", toupper(substr($1, 1, 1)), substr($1, 2), $2, $3 }')
check "the collection holds confused pairs" "$([ -n "$rows" ] && echo yes)" yes
first=$(echo "$rows" | head -n 1)
heard "Return opens the check, its first row read" "$first" Return
echo "$rows" | tail -n +2 | while IFS= read -r row; do
    heard "Down reads the next row" "$row" Down
done
xdotool key Escape
finish
