# SPDX-License-Identifier: MIT
# Shared by the tests that drive the real program on a real X server:
# sourced with program, makedb and source set. It lays out a program folder
# of its own, starts Xvfb on a free display and the program on it, and
# gives helpers to click, type and read the screen, and the tally of
# xvfb.sh (pass, fail, finish).

. "$source/tests/x11/xvfb.sh"
. "$source/tests/x11/window-test.sh"

work=$(mktemp -d)
# Ends what the test started and removes its folder. A server still
# writing into the folder as it ends (cupsd, Orca) is waited for; what is
# left is tried once more, and a folder that stays is no failure of the test.
cleanup() {
    for pid in ${app:-} ${wm:-} ${xvfb:-}; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work" 2>/dev/null || { sleep 0.5; rm -rf "$work" 2>/dev/null; } || true
}
trap cleanup EXIT

program_folder "$work" "$program" "$makedb"

start_xvfb "${xvfb_screen:-400x800x24}" || { echo "FAIL: no X server"; exit 1; }

# Starts the program and waits for its window: X, Y are its place.
start_program() {
    window=""
    # A second start when the first shows no window within ten seconds: on
    # a loaded machine a first start was once seen to miss the server.
    for attempt in 1 2; do
        QT_QPA_PLATFORM=xcb "$work/tesselle" >"$work/program.log" 2>&1 &
        app=$!
        for _ in $(seq 100); do
            window=$(xdotool search --onlyvisible --name '^Tesselle 5327$' 2>/dev/null | head -n 1) || true
            [ -n "$window" ] && break
            sleep 0.1
        done
        [ -n "$window" ] && break
        echo "no window on $DISPLAY (attempt $attempt):"
        cat "$work/program.log"
        kill "$app" 2>/dev/null || true
    done
    [ -n "$window" ] || { echo "FAIL: the window did not appear"; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # The intro goes at a click; the window is ready once page 1 shows.
    click 5 5
    wait_for_pixel "$swatch_x" "$(swatch_y 1)" "$(card 1 1)" >/dev/null || true
}

# Starts openbox on the test's server and waits until it manages the
# screen; its output goes to the file given, if any. cleanup ends it.
start_openbox() {
    openbox --sm-disable >"${1:-/dev/null}" 2>&1 &
    wm=$!
    for _ in $(seq 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
}

# Under a window manager xdotool gives a window's place within its frame:
# the place on the screen, X and Y, is xwininfo's.
on_screen() {
    X=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
    Y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
}

# A visible window whose title matches, within the seconds given; its id.
window_named() {
    for _ in $(seq $(($2 * 10))); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

click() { xdotool mousemove $((X + $1)) $((Y + $2)) click "${3:-1}"; sleep 0.2; }
keys() { xdotool key --delay 60 "$@"; sleep 0.4; }
# The colour of a window pixel, as rrggbb.
pixel() {
    import -window root -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- 2>/dev/null \
        | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'A-F' 'a-f'
}

# Whether two rrggbb colours differ by at most 1 per channel.
near() {
    /usr/bin/python3 -c 'import sys
a, b = sys.argv[1], sys.argv[2]
ok = len(a) == len(b) == 6 and all(abs(int(a[i:i + 2], 16) - int(b[i:i + 2], 16)) <= 1 for i in (0, 2, 4))
sys.exit(0 if ok else 1)' "$1" "$2"
}
# Waits up to five seconds for a pixel to come within 1 of a colour; prints
# what it shows.
near_pixel() {
    for _ in $(seq 25); do
        got=$(pixel "$1" "$2")
        near "$got" "$3" && break
        sleep 0.2
    done
    echo "$got"
}
# check_near <what> <x> <y> <expected rrggbb>
check_near() {
    got=$(near_pixel "$2" "$3" "$4")
    if near "$got" "$4"; then check "$1" ok ok; else check "$1" "$got" "$4"; fi
}
