# SPDX-License-Identifier: MIT
# Shared by the tests that drive the real program's window on a real screen
# (X11 through lib.sh, Wayland through tests/wayland/lib.sh): its program
# folder and the checks, sourced with source set and a pixel function of the
# screen's own (pixel <x> <y> prints a window pixel as rrggbb). What is
# expected comes from the card's CSV, never from the program.

# Lays out a program folder: the program, its print module, the movies, the
# font configuration and a database built from the card.
#   program_folder <folder> <program> <makedb>
program_folder() {
    mkdir -p "$1/swf"
    cp "$2" "$1/tesselle"
    cp "$(dirname "$2")/tesselle-print.so" "$1/"
    cp "$source"/swf/*.svg "$1/swf/"
    cp "$source/data/fonts.conf" "$1/"
    "$3" "$source/data/card5327.csv" "$1/dbtsl.db" >/dev/null
}

# Starts the accessibility bus and its registry in the D-Bus session at
# once, rather than when a desktop asks for them; its pid in launcher.
# Waits until the bus answers (five seconds at most).
launch_atspi_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
    launcher=$!
    for _ in $(seq 50); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1 && break
        sleep 0.1
    done
}

# Runs a command until it prints what is wanted, for up to five seconds
# (the program may be slow on a busy machine); prints what it printed at
# last, and fails when that is not what was wanted.
#   settled <wanted> <command> [<argument> ...]
settled() {
    wanted=$1
    shift
    got=""
    for _ in $(seq 25); do
        got=$("$@")
        [ "$got" = "$wanted" ] && break
        sleep 0.2
    done
    echo "$got"
    [ "$got" = "$wanted" ]
}
# Waits for the pixel to show the colour; prints what it shows at last.
wait_for_pixel() { settled "$3" pixel "$1" "$2"; }
# The sRGB of a page's row in the card, as rrggbb.
card() {
    awk -F, -v p="$1" -v r="$2" 'NR > 1 && $2 == p && $3 == r { printf "%02x%02x%02x\n", $5, $6, $7 }' \
        "$source/data/card5327.csv"
}
# The page and row of a code.
where() {
    awk -F, -v c="$1" 'NR > 1 && $4 == c { print $2, $3 }' "$source/data/card5327.csv"
}
# Swatch n's centre in the window.
swatch_x=105
swatch_y() { echo $((195 + 3 + ($1 - 1) * 43 + 20)); }
# Checks that a code's page is shown: its swatch has its colour.
#   code_shown <what> <code>
code_shown() {
    set -- "$1" $(where "$2")
    check "$1" "$(wait_for_pixel $swatch_x "$(swatch_y "$3")" "$(card "$2" "$3")")" "$(card "$2" "$3")"
}
# Records one check: its name, what was found, what was expected.
check() {
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: expected $3, got $2"; fi
}
