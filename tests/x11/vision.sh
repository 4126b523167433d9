#!/bin/sh
# SPDX-License-Identifier: MIT
# "See as" on a real X server under a window manager: Ctrl+Shift+V steps
# through the visions; the swatches of a page and a palette sector must show
# colorspacious's simulation of their sRGB values within 1 per channel, the
# palette's tabs stay, and with the Adobe RGB display profile on the root
# window the simulation is followed by Little CMS's transform (Pillow's
# ImageCms). Screenshots go to $TESSELLE_SHOTS when it is set.
#   vision.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"
seen() { /usr/bin/python3 "$source/tests/x11/vision.py" expect "$@"; }
icc() { /usr/bin/python3 "$source/tests/x11/icc.py" "$@"; }
shot() { [ -z "${TESSELLE_SHOTS:-}" ] || import -window root "$TESSELLE_SHOTS/vision-$1.png"; }
/usr/bin/python3 -c 'import colorspacious' 2>/dev/null || { echo "colorspacious is not installed: skipped"; exit 77; }

# A vivid red of page 70 in the collection.
sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', 'C5.76.53')"
start_openbox
start_program
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
on_screen "$window"

sector_x=150
sector_y=80
tab_x=20
tab_y=8
click 115 572
keys End BackSpace BackSpace BackSpace 7 0 Return
check "page 70 shown" "$(wait_for_pixel $swatch_x "$(swatch_y 5)" "$(card 70 5)")" "$(card 70 5)"
sector=$(pixel $sector_x $sector_y)
tab=$(pixel $tab_x $tab_y)

# Inside the page box every key keeps the box's rules: nothing is simulated.
keys ctrl+shift+v
sleep 0.5
check "Ctrl+Shift+V in the page box changes nothing" "$(pixel $swatch_x "$(swatch_y 5)")" "$(card 70 5)"

# On the card the key steps through the visions.
click $swatch_x "$(swatch_y 1)"
# Ctrl+1 gives the card panel the keyboard.
keys ctrl+1
for kind in protanopia deuteranopia tritanopia achromatopsia; do
    keys ctrl+shift+v
    for row in 1 3 5 8; do
        check_near "$kind: page 70 row $row" $swatch_x "$(swatch_y $row)" "$(seen $kind 1 "$(card 70 $row)")"
    done
    check_near "$kind: palette sector" $sector_x $sector_y "$(seen $kind 1 "$sector")"
    check "$kind: the palette's tab as it is" "$(pixel $tab_x $tab_y)" "$tab"
    shot "$kind"
done
keys ctrl+shift+v
check "normal vision again" "$(wait_for_pixel $swatch_x "$(swatch_y 5)" "$(card 70 5)")" "$(card 70 5)"

# The simulation first, then the display's profile.
profile=/usr/share/color/icc/colord/AdobeRGB1998.icc
icc set "$profile"
keys ctrl+shift+v ctrl+shift+v
for row in 1 5 8; do
    check_near "deuteranopia, Adobe RGB: row $row" $swatch_x "$(swatch_y $row)" \
        "$(seen deuteranopia 1 "$(card 70 $row)" "$profile")"
done
shot deuteranopia-adobergb
icc remove
finish
