#!/bin/sh
# The keys of the page-number box and the code fields on a real X server:
# the program runs under Xvfb in a program folder of its own, xdotool types
# as a user does, and the result is read from the screen's pixels.
#   keys.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3

work=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/swf"
cp "$program" "$work/tesselle"
cp "$source"/swf/*.svg "$work/swf/"
cp "$source/data/fonts.conf" "$work/"
"$makedb" "$source/data/card5327.csv" "$work/dbtsl.db" >/dev/null

# A display number no other server holds.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 400x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb "$work/tesselle" >"$work/program.log" 2>&1 &
app=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Tesselle 5327$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: the window did not appear"; cat "$work/program.log"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"   # X, Y of the window
sleep 0.5

failures=0
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.2; }
keys() { xdotool key --delay 60 "$@"; sleep 0.4; }
# The colour of a window pixel, as rrggbb.
pixel() {
    import -window root -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- 2>/dev/null \
        | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'A-F' 'a-f'
}
# The sRGB of a page's row in the card, as rrggbb.
card() {
    awk -F, -v p="$1" -v r="$2" 'NR > 1 && $2 == p && $3 == r { printf "%02x%02x%02x\n", $5, $6, $7 }' \
        "$source/data/card5327.csv"
}
# The page and row of a code.
where() {
    awk -F, -v c="$1" 'NR > 1 && $4 == c { print $2, $3 }' "$source/data/card5327.csv"
}
# Swatch n's centre in the window, and the page box and first code field.
swatch_x=105
swatch_y() { echo $((195 + 3 + ($1 - 1) * 43 + 20)); }
# Waits up to five seconds for swatch row $3's pixel to show colour $2:
# the program may be slow on a busy machine.
check() {
    got=""
    for _ in $(seq 25); do
        got=$(pixel $swatch_x "$(swatch_y "$3")")
        [ "$got" = "$2" ] && break
        sleep 0.2
    done
    if [ "$got" = "$2" ]; then
        echo "PASS: $1"
    else
        echo "FAIL: $1: expected $2, got $got"
        failures=$((failures + 1))
    fi
}

# The intro goes at a click; the window is ready once page 1 shows.
click 5 5
for _ in $(seq 50); do
    [ "$(pixel $swatch_x "$(swatch_y 1)")" = "$(card 1 1)" ] && break
    sleep 0.2
done

# Page box: 12, Home, Delete leaves 2; Enter shows page 2.
click 115 572
keys End BackSpace BackSpace BackSpace 1 2 Home Delete Return
check "Home, Delete in the page box edits: page 2 shown" "$(card 2 1)" 1

# Two codes looked up one after the other.
click 115 598
keys k 8 0 4 4 3 Return
set -- $(where K8.04.43)
check "K8.04.43 found and shown" "$(card "$1" "$2")" "$2"
keys a 5 6 0 6 3 Return
set -- $(where A5.60.63)
check "a second code typed after the first is found" "$(card "$1" "$2")" "$2"

echo "$((3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
