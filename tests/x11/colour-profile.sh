#!/bin/sh
# SPDX-License-Identifier: MIT
# The display's colour profile on a real X server: _ICC_PROFILE set on the
# Xvfb root window from profiles Debian ships (colord-data), one small
# gamut profile made with Little CMS and a table profile whose black is not
# zero, made with Argyll. The swatches, the collection's colour
# and a palette sector must show Little CMS's own transform of their sRGB
# values (Pillow's ImageCms) within 1 per channel; without the property the
# pixels are the card's sRGB values exactly.
#   colour-profile.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"
icc() { /usr/bin/python3 "$source/tests/x11/icc.py" "$@"; }
profiles=/usr/share/color/icc/colord
icc small "$work/small.icc"

# A vivid red of page 70 in the collection.
sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', 'C5.76.53')"

# Started and left on the intro, a running movie (start_program clicks it
# away); it goes by itself after three seconds.
start_on_intro() {
    QT_QPA_PLATFORM=xcb "$work/tesselle" >"$work/program.log" 2>&1 &
    app=$!
    window=$(window_named '^Tesselle 5327$' 10) || { echo "FAIL: the window did not appear"; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
}
# A pixel well inside the stem of the intro title's T, which is #2b2b2b: a
# dark grey, which the sRGB curve and a gamma 2.2 display curve set apart.
stem_x=49
stem_y=105
start_on_intro
check "intro as it is, no profile" "$(wait_for_pixel $stem_x $stem_y 2b2b2b)" 2b2b2b
kill "$app"
wait "$app" 2>/dev/null || true

start_program

sector_x=150
sector_y=80
collection_x=105
collection_y=350

# Page 70 shown, by the page box.
click 115 572
keys End BackSpace BackSpace BackSpace 7 0 Return
check "page 70 shown as it is, no profile" \
    "$(wait_for_pixel $swatch_x "$(swatch_y 5)" "$(card 70 5)")" "$(card 70 5)"
sector=$(pixel $sector_x $sector_y)

for name in SwappedRedAndGreen AdobeRGB1998 WideGamutRGB small; do
    profile=$profiles/$name.icc
    [ "$name" = small ] && profile=$work/small.icc
    icc set "$profile"
    for row in 1 3 5 7 8; do
        check_near "$name: page 70 row $row" $swatch_x "$(swatch_y $row)" "$(icc expect "$profile" "$(card 70 $row)")"
    done
    check_near "$name: palette sector" $sector_x $sector_y "$(icc expect "$profile" "$sector")"
done

# Removed: the card's own values again, exactly.
icc remove
for row in 1 5 8; do
    check "no profile again: row $row as it is" \
        "$(wait_for_pixel $swatch_x "$(swatch_y $row)" "$(card 70 $row)")" "$(card 70 $row)"
done
check "no profile again: palette sector as it is" "$(wait_for_pixel $sector_x $sector_y "$sector")" "$sector"

# A second monitor's profile leaves the first monitor's pixels alone.
icc set "$profiles/SwappedRedAndGreen.icc" 1
sleep 0.5
check "_ICC_PROFILE_1 leaves monitor 0 alone" "$(pixel $swatch_x "$(swatch_y 5)")" "$(card 70 5)"
icc remove 1

# An unusable profile: said once on standard error, the pixels as they are.
head -c 400 /dev/urandom >"$work/junk.icc"
icc set "$work/junk.icc"
sleep 0.5
check "an unusable profile leaves the pixels" "$(pixel $swatch_x "$(swatch_y 5)")" "$(card 70 5)"
check "an unusable profile is said on standard error" \
    "$(grep -c 'colour profile .* cannot be used' "$work/program.log")" 1
# 100 more, of 1 MiB each, one after another: each said once, and what
# the program keeps of them is not their bytes (100 MiB).
rss() { awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$app/status"; }
before=$(rss)
check "100 unusable profiles of 1 MiB set in turn" "$(icc refuse 100 1048576 "$work/program.log")" "refused 100"
grown=$(($(rss) - before))
# AddressSanitizer holds freed memory back in its quarantine: the growth is
# the program's own only as it ships.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    echo "skipped under the sanitizers: the growth of 100 unusable profiles ($grown MiB)"
else
    check "100 unusable profiles: the program grew by less than 32 MiB" "$([ "$grown" -lt 32 ] && echo yes)" yes
fi
echo "grew by $grown MiB"
icc remove

# A display profile of tables alone (A2B0, B2A0: Argyll's colprof -al)
# whose black is L* 8, from tests/x11/profiles. The darkest neutrals of
# page 4 are shown as Little CMS's unoptimised transform shows them, with
# the profile's own black found for black-point compensation; read back
# through the profile by Argyll's xicclu, each is lighter than the
# display's black and darker than the row above: none crushed together.
lut=$source/tests/x11/profiles/lut-black.icc
lightness() {
    printf '%d %d %d\n' "0x$(echo "$2" | cut -c1-2)" "0x$(echo "$2" | cut -c3-4)" "0x$(echo "$2" | cut -c5-6)" \
        | xicclu -s255 -ff -ir -pl "$1" | sed 's/.*-> *//' | awk '{ print $1 }'
}
icc set "$lut"
click 115 572
keys End BackSpace BackSpace BackSpace 4 Return
above=100
for row in 5 6 7 8; do
    check_near "LUT profile, black L* 8: page 4 row $row" $swatch_x "$(swatch_y $row)" \
        "$(icc unoptimised "$lut" "$(card 4 $row)")"
    l=$(lightness "$lut" "$(pixel $swatch_x "$(swatch_y $row)")")
    check "LUT profile, black L* 8: row $row darker than the row above, lighter than black" \
        "$(awk -v l="$l" -v above="$above" -v black="$(lightness "$lut" 000000)" \
            'BEGIN { print (l < above - 1 && l > black + 1) ? "apart" : "L* " l " (above " above ", black " black ")" }')" apart
    above=$l
done
icc remove

# The collection's colour, on its panel.
click 148 40
check "collection colour as it is" \
    "$(wait_for_pixel $collection_x $collection_y "$(card 70 5)")" "$(card 70 5)"
icc set "$profiles/SwappedRedAndGreen.icc"
check_near "SwappedRedAndGreen: collection colour" $collection_x $collection_y \
    "$(icc expect "$profiles/SwappedRedAndGreen.icc" "$(card 70 5)")"
icc set "$profiles/WideGamutRGB.icc"
check_near "WideGamutRGB after SwappedRedAndGreen: collection colour" $collection_x $collection_y \
    "$(icc expect "$profiles/WideGamutRGB.icc" "$(card 70 5)")"

# Sets a profile by a process that holds it for the rest of the test (as a
# desktop's colour daemon does) and ends the running program, so that the
# next one starts with the property already there.
restart_under_profile() {
    /usr/bin/python3 "$source/tests/x11/icc.py" hold "$1" >"$work/hold.log" &
    holder=$!
    trap 'kill "$holder" 2>/dev/null || true; cleanup' EXIT
    settled held cat "$work/hold.log" >/dev/null
    kill "$app"
    wait "$app" 2>/dev/null || true
}

# The running intro, drawn into the window's backing store and converted
# there, from its first frame.
restart_under_profile "$profiles/WideGamutRGB.icc"
start_on_intro
check_near "WideGamutRGB: the running intro" $stem_x $stem_y "$(icc expect "$profiles/WideGamutRGB.icc" 2b2b2b)"
kill "$holder"
wait "$holder" 2>/dev/null || true

# Started with the property already there: painted through it from the
# first frame. The screen is split into two monitors side by side (RandR
# monitors, as a desktop with two screens has them) for the move below.
xrandr --setmonitor left 200/53x800/212+0+0 none >/dev/null
xrandr --setmonitor right 200/53x800/212+200+0 none >/dev/null
restart_under_profile "$profiles/SwappedRedAndGreen.icc"
start_program
click 115 572
keys End BackSpace BackSpace BackSpace 7 0 Return
check_near "started with a profile: page 70 row 5" $swatch_x "$(swatch_y 5)" \
    "$(icc expect "$profiles/SwappedRedAndGreen.icc" "$(card 70 5)")"
check_near "started with a profile: palette sector" $sector_x $sector_y \
    "$(icc expect "$profiles/SwappedRedAndGreen.icc" "$sector")"

# Moved to the second monitor, the window takes its profile
# (_ICC_PROFILE_1); back on the first, the first one's again.
icc set "$profiles/WideGamutRGB.icc" 1
xdotool windowmove "$window" 200 0
X=200
check_near "on the second monitor: its profile" $sector_x $sector_y \
    "$(icc expect "$profiles/WideGamutRGB.icc" "$sector")"
xdotool windowmove "$window" 0 0
X=0
check_near "back on the first monitor: its profile" $sector_x $sector_y \
    "$(icc expect "$profiles/SwappedRedAndGreen.icc" "$sector")"
finish
