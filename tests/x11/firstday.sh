#!/bin/sh
# SPDX-License-Identifier: MIT
# A new user's day under a window manager (openbox on Xvfb): the empty
# collection in front gets an entry from another program and its buttons
# show and work; Find colour opens beside the window, not over it; a
# read-only collection is said at start, on standard error and in a notice
# that shows its whole message until the next key.
# With TESSELLE_SHOTS set to a folder, screenshots are left there.
#   firstday.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
# Room beside the window for the dialog.
xvfb_screen=1000x800x24
. "$(dirname "$0")/lib.sh"
shot() { [ -z "${TESSELLE_SHOTS:-}" ] || import -window root "$TESSELLE_SHOTS/$1.png"; }

start_openbox
start_program
on_screen "$window"
xdotool windowfocus --sync "$window" 2>/dev/null || true
entries() { sqlite3 "$work/dbtsl.db" "select count(*) from baby2"; }

# The empty collection in front: no delete button, the panel's artwork.
keys ctrl+2
empty_delete=$(pixel 104 596)
shot collection-empty
# Another program adds a colour: the entry shows, with its buttons.
sqlite3 "$work/dbtsl.db" "insert into baby2 (ccard_name, code) values ('5327', 'K8.04.43')"
check "the entry another program added is shown" \
    "$(settled "$(card $(where K8.04.43))" pixel 105 300)" "$(card $(where K8.04.43))"
changed() { [ "$(pixel 104 596)" != "$empty_delete" ] && echo drawn || echo blank; }
check "the delete button is drawn" "$(settled drawn changed)" drawn
shot collection-filled
click 104 596
check "a click on delete deletes" "$(settled 0 entries)" 0

# Find colour beside the window, on the screen, over none of it.
keys ctrl+1 ctrl+f
dialog=$(window_named '^Find colour$' 5) || dialog=""
check "Find colour opens" "$([ -n "$dialog" ] && echo yes || echo no)" yes
if [ -n "$dialog" ]; then
    sleep 0.5
    main_x=$X main_y=$Y
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    on_screen "$dialog"
    dialog_x=$X dialog_y=$Y dialog_w=$WIDTH dialog_h=$HEIGHT
    X=$main_x Y=$main_y
    check "Find colour lies right of the window" \
        "$([ "$dialog_x" -ge $((main_x + 210)) ] && echo beside || echo "over at $dialog_x,$dialog_y")" beside
    check "Find colour lies on the screen" \
        "$([ $((dialog_x + dialog_w)) -le 1000 ] && [ $((dialog_y + dialog_h)) -le 800 ] && echo yes || echo no)" yes
    xdotool type --delay 40 'K8.04.43'
    keys Return
    shot find-colour-beside
fi

# A read-only collection, started by a user who may not write it.
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
chmod 755 "$work"
chmod 444 "$work/dbtsl.db"
chmod 555 "$work"
if [ "$(id -u)" -eq 0 ]; then
    as_user="setpriv --reuid=65534 --regid=65534 --clear-groups env HOME=/nonexistent"
else
    as_user="env"
fi
$as_user QT_QPA_PLATFORM=xcb "$work/tesselle" >"/tmp/firstday-$$.log" 2>&1 &
app=$!
window=$(window_named '^Tesselle 5327$' 10) || window=""
# Placed by the window manager once mapped.
sleep 1
on_screen "$window"
check "read-only said on standard error" "$(grep -c 'cannot be changed: .* is read-only' "/tmp/firstday-$$.log")" 1
rm -f "/tmp/firstday-$$.log"
# The notice's pale yellow, over the window's bottom edge and above the
# single line it used to have: the whole message.
check "the notice shows at the bottom edge" "$(settled ffffe1 pixel 8 680)" ffffe1
check "the notice has grown upward" "$(pixel 8 650)" ffffe1
shot notice-read-only
sleep 6
check "the refusal stays past five seconds" "$(pixel 8 680)" ffffe1
click 5 5
gone() { [ "$(pixel 8 680)" != ffffe1 ] && echo gone || echo shown; }
check "the next click takes it away" "$(settled gone gone)" gone
chmod 755 "$work"
finish
