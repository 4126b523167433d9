# SPDX-License-Identifier: MIT
# Shared by the tests that drive the real program on Wayland: a headless
# sway, keys typed by wtype, screenshots by grim, windows found through
# swaymsg. Sourced with program, makedb and source set.
#
# sway refuses to run as root, and CI runs as root: there the test lays out
# its folder (the program, its database and the few source files the run
# reads, so that no folder of the caller's needs to be readable), makes an
# unprivileged user if there is none (its home in that folder; removed
# again after), and runs itself again as that user. Run by any other user,
# it runs itself again as that user. Either way the second run has an empty
# environment but for what is named below, its own D-Bus session and an
# XDG_RUNTIME_DIR of mode 0700 in the folder; the first run removes the
# folder after it. With TESSELLE_SHOTS set to a folder, screenshots are
# left there.

. "$source/tests/x11/xvfb.sh"
. "$source/tests/x11/window-test.sh"

wayland_user=tesselle-wayland

if [ -z "${TESSELLE_WAYLAND_WORK:-}" ]; then
    work=$(mktemp -d /tmp/tesselle-wayland.XXXXXX)
    made_user=""
    finish_first_run() {
        [ -z "${TESSELLE_SHOTS:-}" ] || cp "$work"/shots/*.png "$TESSELLE_SHOTS/" 2>/dev/null || true
        rm -rf "$work"
        [ -z "$made_user" ] || userdel "$wayland_user" 2>/dev/null || true
    }
    trap finish_first_run EXIT
    chmod 0755 "$work"
    mkdir -p "$work/home" "$work/run" "$work/shots" "$work/source/tests/x11" "$work/source/tests/atspi" \
        "$work/source/data"
    chmod 0700 "$work/run"
    program_folder "$work/program" "$program" "$makedb"
    cp -r "$source/tests/wayland" "$work/source/tests/"
    cp "$source/tests/x11/xvfb.sh" "$source/tests/x11/window-test.sh" "$work/source/tests/x11/"
    cp "$source/tests/atspi/atspi.py" "$work/source/tests/atspi/"
    cp "$source/data/card5327.csv" "$work/source/data/"
    script=$work/source/tests/wayland/$(basename "$0")
    set -- PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
        TESSELLE_WAYLAND_WORK="$work" dbus-run-session -- sh "$script" "$work/program/tesselle" - \
        "$work/source"
    if [ "$(id -u)" -eq 0 ]; then
        if ! id -u "$wayland_user" >/dev/null 2>&1; then
            useradd --system --no-log-init --user-group --no-create-home --home-dir "$work/home" \
                --shell /usr/sbin/nologin "$wayland_user" || { echo "FAIL: no user for sway"; exit 1; }
            made_user=yes
        fi
        chown -R "$wayland_user:" "$work"
        setpriv --reuid="$(id -u "$wayland_user")" --regid="$(id -g "$wayland_user")" --clear-groups \
            env -i "$@" && status=0 || status=$?
    else
        env -i "$@" && status=0 || status=$?
    fi
    exit "$status"
fi

# --- The second run: the user's own ----------------------------------------

work=$TESSELLE_WAYLAND_WORK
cleanup() {
    for pid in ${app:-} ${keyboard:-} ${launcher:-} ${sway:-}; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

# sway on no hardware: one output of 1280x1024, rendered in memory, no
# input devices of its own and no X server.
printf 'output HEADLESS-1 resolution 1280x1024\nxwayland disable\n' >"$work/sway.conf"
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway=$!
export SWAYSOCK="$XDG_RUNTIME_DIR/sway-ipc.$(id -u).$sway.sock"
# Ready once it answers on its socket: ten seconds at most.
for _ in $(seq 100); do
    swaymsg -t get_version >/dev/null 2>&1 && break
    sleep 0.1
done
swaymsg -t get_version >/dev/null 2>&1 || { cat "$work/sway.log"; echo "FAIL: sway did not start"; exit 1; }
for socket in "$XDG_RUNTIME_DIR"/wayland-*; do
    case $socket in *.lock) ;; *) export WAYLAND_DISPLAY="${socket##*/}" ;; esac
done

# A keyboard plugged in for the whole test, as a desktop has one. Without
# it each wtype brings the seat's only keyboard and takes it away again,
# and its first key can reach the compositor before the program has bound
# the new keyboard, and is lost. Ten minutes at most; ended by cleanup.
wtype -s 600000 &
keyboard=$!

# What the program says, read as a screen reader reads it.
launch_atspi_bus

# The place and size of a window's contents, "x y width height", for the
# first window whose title is the one given; nothing when none is.
window_rect() {
    swaymsg -r -t get_tree | /usr/bin/python3 -c 'import json, sys
def find(node):
    if node.get("name") == sys.argv[1] and node.get("type") in ("con", "floating_con"):
        return node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        found = find(child)
        if found:
            return found
outer = find(json.load(sys.stdin))
if outer:
    inner = outer["window_rect"]
    print(outer["rect"]["x"] + inner["x"], outer["rect"]["y"] + inner["y"], inner["width"], inner["height"])' "$1"
}
# Waits for a window, for the seconds given; its rect, or fails.
window_named() {
    for _ in $(seq $(($2 * 10))); do
        rect=$(window_rect "$1")
        [ -n "$rect" ] && { echo "$rect"; return 0; }
        sleep 0.1
    done
    return 1
}
# The title of the window that has the keyboard.
focused_window() {
    swaymsg -r -t get_tree | /usr/bin/python3 -c 'import json, sys
def find(node):
    if node.get("focused"):
        return node.get("name")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        found = find(child)
        if found:
            return found
print(find(json.load(sys.stdin)) or "")'
}

# A window's rect once it has stayed the same for a second (ten seconds at
# most): sway first shows a new window without its title bar, then moves
# its contents down under the bar.
steady_rect() {
    last=""
    same=0
    for _ in $(seq 50); do
        rect=$(window_rect "$1")
        if [ -n "$rect" ] && [ "$rect" = "$last" ]; then
            same=$((same + 1))
            [ "$same" -ge 5 ] && break
        else
            same=0
        fi
        last=$rect
        sleep 0.2
    done
    echo "$rect"
}

# Starts the program and waits for its window (ten seconds at most): X, Y
# are the place of its contents. The intro goes at a key; the window is
# ready once page 1 shows.
start_program() {
    QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
    app=$!
    window_named 'Tesselle 5327' 10 >/dev/null || { cat "$work/program.log"; echo "FAIL: the window did not appear"; exit 1; }
    keys Escape
    set -- $(steady_rect 'Tesselle 5327')
    X=$1 Y=$2
    wait_for_pixel "$swatch_x" "$(swatch_y 1)" "$(card 1 1)" >/dev/null || true
}

# keys <key> ...: typed one after the other, 60 ms apart, as xdotool names
# them ("ctrl+shift+z", "Next", "a"); then a moment for the program.
keys() {
    args=""
    for key in "$@"; do
        mods=""
        while case $key in *+?*) true ;; *) false ;; esac; do
            mods="$mods ${key%%+*}"
            key=${key#*+}
        done
        for mod in $mods; do args="$args -M $mod"; done
        args="$args -k $key"
        for mod in $mods; do args="$args -m $mod"; done
        args="$args -s 60"
    done
    # shellcheck disable=SC2086
    wtype $args
    sleep 0.4
}
# Text typed as it is, 40 ms a character.
type_text() { wtype -d 40 "$1"; sleep 0.4; }
# The colour of a window pixel, as rrggbb.
pixel() {
    grim -g "$((X + $1)),$((Y + $2)) 1x1" -t ppm - 2>/dev/null | tail -c 3 | od -An -tx1 | tr -d ' \n'
    echo
}
# A screenshot of the whole output, kept when TESSELLE_SHOTS is set.
shot() { grim "$work/shots/$1.png"; }
