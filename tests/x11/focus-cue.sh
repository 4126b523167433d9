#!/bin/sh
# SPDX-License-Identifier: MIT
# The keyboard cue on the screen, under a window manager (openbox on Xvfb):
# Tab is pressed through the whole Tab order, on a light page and on a dark
# one, and on the collection showing a light colour and a dark one. At
# each stop the screen is compared with the screen before the first Tab,
# when no control shows a cue or a caret. The pixels that
# changed are the cue (in a text box, its selected text, or the caret of an
# empty box); each must stand out at 3:1 or more against the unchanged
# pixels beside it (tests/x11/contrast.py measures).
# The cue's contrast is read at its edge: the lowest over the edge, each
# edge pixel taken with the best within two pixels of it (the cue's dashes
# are two colours, and one of them is enough where they meet the page).
# With TESSELLE_SHOTS set to a folder, screenshots are left there.
#   focus-cue.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"

start_openbox
# The program freshly started, in front, before any key: nothing has the
# keyboard's cue and no box its caret.
start_in_front() {
    start_program
    on_screen "$window"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=')"
    sleep 0.5
}

shots=$work/shots
mkdir -p "$shots"
measure() { /usr/bin/python3 "$source/tests/x11/contrast.py" "$shots/bare.png" "$X" "$Y" "$WIDTH" "$HEIGHT" "$@"; }
# Milliseconds since the epoch.
now() { echo $(($(date +%s%N) / 1000000)); }
# Shots of the screen over 1.2 s at least, none more than 0.45 s after the
# one before: a caret blinks with a period of a second, so both of its
# phases are in them. Shots slower than that (a loaded machine) go on for
# up to 3 s, for more chances of each phase.
shoot() {
    rm -f "$shots"/try*.png
    start=$(now)
    last=$start
    slowest=0
    n=0
    while :; do
        n=$((n + 1))
        import -window root "$shots/try$n.png"
        t=$(now)
        [ $((t - last)) -le "$slowest" ] || slowest=$((t - last))
        last=$t
        if [ "$n" -ge 4 ] && [ $((t - start)) -ge 1200 ]; then
            [ "$slowest" -le 450 ] || [ $((t - start)) -ge 3000 ] && break
        fi
        sleep 0.1
    done
}

# walk <page name>: Tab through the window until the cue is back where it
# first was, measuring each stop.
walk() {
    page=$1
    import -window root "$shots/bare.png"
    # Nothing may change on the screen without a key: no caret blinks.
    shoot
    set -- $(measure "$shots"/try*.png)
    check "$page: the screen before the first Tab stays still" "$3" 0
    [ -z "${TESSELLE_SHOTS:-}" ] || cp "$shots/bare.png" "$TESSELLE_SHOTS/$page-bare.png"
    first=""
    stops=0
    where=""
    for i in $(seq 30); do
        keys Tab
        sleep 0.3
        shoot
        set -- $(measure "$shots"/try*.png)
        where=$4
        [ "$where" = "$first" ] && break
        [ -n "$first" ] || first=$where
        stops=$i
        if [ -n "${TESSELLE_SHOTS:-}" ]; then
            cp "$shots/try1.png" "$TESSELLE_SHOTS/$page-$i.png"
            measure --view "$TESSELLE_SHOTS/$page-$i-cue.png" "$shots"/try*.png >/dev/null
        fi
        what="$page, stop $i at $where: $1:1 (tenth percentile $2:1, $3 pixels; $5 blinking)"
        if [ "$3" -eq 0 ]; then
            fail "$page, stop $i: no cue"
        elif awk -v r="$1" 'BEGIN { exit !(r >= 3) }'; then
            pass "$what"
        else
            fail "$what, below 3:1"
        fi
    done
    check "$page: the Tab order comes back to its first stop" "$([ "$where" = "$first" ] && echo yes || echo no)" yes
    check "$page: five stops or more" "$([ "$stops" -ge 5 ] && echo yes || echo no)" yes
}

# Page 1, the lightest, with the code fields empty: their cue is the caret.
start_in_front
walk light-page-1

# Page 4, the card's darkest, reached by clicks on the next-page button,
# which leave the keyboard where it was; a click on its first swatch fills
# the code fields, so that Tab selects their text.
kill "$app"
wait "$app" 2>/dev/null || true
start_in_front
for _ in 1 2 3; do click 164 572; done
check "page 4 shown" "$(wait_for_pixel $swatch_x "$(swatch_y 1)" "$(card 4 1)")" "$(card 4 1)"
click $swatch_x "$(swatch_y 1)"
sleep 1
walk dark-page-4

# The collection in front, brought there by a click on its tab, which
# takes the keyboard from the card panel with no cue: its first entry the
# card's lightest colour, its second the darkest, shown by a click on the
# next-entry button.
sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', 'Z0.00.97'), ('5327', 'Z0.00.04')"
for entry in 1 2; do
    kill "$app"
    wait "$app" 2>/dev/null || true
    start_in_front
    click 143 40
    [ "$entry" = 1 ] || click 145 640
    colour=$(card $(where "$([ "$entry" = 1 ] && echo Z0.00.97 || echo Z0.00.04)"))
    check "collection entry $entry shown" "$(settled "$colour" pixel 105 300)" "$colour"
    sleep 1
    walk "$([ "$entry" = 1 ] && echo light || echo dark)-collection-entry-$entry"
done
finish
