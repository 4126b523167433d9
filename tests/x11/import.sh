#!/bin/sh
# SPDX-License-Identifier: MIT
# An import in the window, as a user makes one on a real X server: the
# preview comes before any write, Cancel there leaves the file byte for
# byte, Import adds the ticked rows; a 1,000,000-line palette shows its
# progress within a second and Cancel there leaves the file as it was.
#   import.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"
start_program
db=$work/dbtsl.db

# Two card codes and a colour of their own name; one code twice.
first=$(awk -F, 'NR == 2 { print $4 }' "$source/data/card5327.csv")
second=$(awk -F, 'NR == 3 { print $4 }' "$source/data/card5327.csv")
printf 'GIMP Palette\nName: mine\n#\n  1   2   3\t%s\n  1   2   3\t%s\n  0   0 255\tPure blue\n  1   2   3\t%s\n' \
    "$first" "$second" "$first" >"$work/mine.gpl"

# Opens "Import colours…" from the collection's menu (from the bottom:
# About, See as, Find colour…, Check for colour-blind viewers…, Print…,
# Save as PDF…, Import colours…) and names
# the file in the file dialog.
ask_import() {
    click 143 40
    click 106 368 3
    keys Up Up Up Up Up Up Up Return
    window_named '^Import colours$' 10 >/dev/null || { echo "FAIL: no file dialog"; return 1; }
    sleep 0.5
    xdotool type --delay 20 "$1"
    xdotool key Return
    asked=$(date +%s.%N)
}
entries() { sqlite3 "$db" "select count(*) from baby2"; }

cp "$db" "$work/before.db"
ask_import "$work/mine.gpl"
preview=$(window_named '^Import mine.gpl$' 10) || preview=""
check "the preview shows before any write" "$([ -n "$preview" ] && cmp -s "$db" "$work/before.db" && echo yes)" yes
import -window root "$work/preview.png" 2>/dev/null || true
[ -n "${KEEP_SHOTS:-}" ] && cp "$work/preview.png" "$KEEP_SHOTS/preview.png"
keys Escape
sleep 0.5
check "Cancel in the preview leaves the file byte for byte" "$(cmp -s "$db" "$work/before.db" && echo same)" same

ask_import "$work/mine.gpl"
window_named '^Import mine.gpl$' 10 >/dev/null || true
# No lock while the preview is open: another program adds the second code
# at once, and the import, taking its lock only then, sees it collected.
status=0
timeout 5 sqlite3 -cmd '.timeout 0' "$db" "insert into baby2 (ccard_name, code) values ('5327', '$second')" || status=$?
check "another program writes while the preview is open" "$status" 0
# Import is the default button; the report follows in the dialog.
keys Return
sleep 0.5
import -window root "$work/report.png" 2>/dev/null || true
[ -n "${KEEP_SHOTS:-}" ] && cp "$work/report.png" "$KEEP_SHOTS/report.png"
keys Escape
check "Import adds the first code and the blue's nearest colour" "$(entries)" 3
check "each code once" "$(sqlite3 "$db" "select count(distinct code) from baby2")" 3

# The export dialog adds the chosen filter's suffix to a name typed without one.
click 143 40
click 106 368 3
keys Up Up Up Up Up Up Up Up Up Return
window_named '^Export the collection$' 10 >/dev/null || echo "FAIL: no export dialog"
sleep 0.5
xdotool type --delay 20 "$work/typed"
keys Return
settled yes sh -c "[ -s '$work/typed.gpl' ] && echo yes" >/dev/null || true
check "a name typed without a suffix gets .gpl" "$([ -s "$work/typed.gpl" ] && head -n 1 "$work/typed.gpl")" "GIMP Palette"

# A million lines: the progress shows within a second; Cancel leaves the
# file as it was.
awk 'BEGIN { print "GIMP Palette"; for (i = 0; i < 1000000; i++) printf "%3d %3d %3d\tc%d\n", i % 256, (i / 256) % 256, i % 7, i }' \
    >"$work/big.gpl"
cp "$db" "$work/before.db"
ask_import "$work/big.gpl"
progress=$(window_named '^Reading a palette$' 5) || progress=""
shown=$(date +%s.%N)
check "a long import shows its progress" "$([ -n "$progress" ] && echo shown)" shown
echo "progress seen $(echo "$shown - $asked" | bc) s after Enter in the file dialog"
# Within a second of the file dialog's Enter, allowing a loaded machine's
# search for the window.
check "the progress shows within a second" "$(echo "$shown - $asked < 1.5" | bc)" 1
[ -n "${KEEP_SHOTS:-}" ] && import -window root "$KEEP_SHOTS/progress.png" 2>/dev/null
keys Escape
sleep 1
check "no preview after Cancel" "$(xdotool search --onlyvisible --name '^Import big.gpl$' 2>/dev/null | head -n 1)" ""
check "Cancel in the progress leaves the file as it was" "$(cmp -s "$db" "$work/before.db" && echo same)" same
finish
