#!/bin/sh
# SPDX-License-Identifier: MIT
# The program's words outside its window: --help within 80 columns, the
# manual page listing every option --help lists and saying ΔE00, one line
# and status 1 when there is no display, a relative XDG_DATA_HOME ignored,
# file names whose bytes are not UTF-8.
#   commandline.sh <program> <manual page .1.gz>
set -u
program=$(readlink -f "$1")
manual=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
    if [ "$2" = "$3" ]; then
        echo "PASS: $1"
    else
        echo "FAIL: $1: expected [$3], got [$2]"
        failures=$((failures + 1))
    fi
}

# --help: nothing wider than 80 columns, and the keys' words.
help=$(env -u DISPLAY "$program" --help)
check "--help exits 0" "$?" 0
check "--help lines within 80 columns" "$(printf '%s\n' "$help" | awk 'length($0) > 80' | head -n 1)" ""
check "--help: the fields keep their own rules" \
    "$(printf '%s\n' "$help" | grep -c 'the code fields, which keep')" 1

# The manual page names every option --help names.
options=$(printf '%s\n' "$help" | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || { echo "FAIL: no options in --help"; failures=$((failures + 1)); }
page=$(zcat "$manual" | sed 's/\\-/-/g; s/\\f[BIRP]//g; s/\\,//g; s/\\\///g')
missing=""
for option in $options; do
    printf '%s\n' "$page" | grep -q -- "$option\b" || missing="$missing $option"
done
check "the manual page lists every option of --help" "$missing" ""
# Written in UTF-8 whatever help2man's own locale: ΔE00, not ??E00.
check "the manual page says ΔE00" "$(printf '%s\n' "$page" | grep -q 'ΔE00' && echo yes || echo no)" yes
check "the manual page has no ??E00" "$(printf '%s\n' "$page" | grep -c '??E00')" 0

# No display: one line saying so and what works without one, status 1,
# before Qt is asked for a window. Asked for by the environment, and for a
# display that is named but cannot be opened.
for display in "" ":199"; do
    if [ -z "$display" ]; then
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$work/out" 2>"$work/err"
    else
        env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$program" >"$work/out" 2>"$work/err"
    fi
    status=$?
    check "no display '$display': status 1" "$status" 1
    check "no display '$display': one line" "$(wc -l <"$work/err")" 1
    check "no display '$display': names what works" \
        "$(grep -c -- '--help, --version, --export, --import and --nearest' "$work/err")" 1
    check "no display '$display': no advice to reinstall" "$(grep -c -i 'reinstall' "$work/err")" 0
done

# XDG_DATA_HOME=reldata: ignored, the collection goes to ~/.local/share.
mkdir -p "$work/home" "$work/elsewhere"
(cd "$work/elsewhere" && env -u DISPLAY HOME="$work/home" XDG_DATA_HOME=reldata \
    "$program" --export "$work/out.gpl" >/dev/null 2>&1)
check "relative XDG_DATA_HOME: nothing made under the current folder" "$(ls "$work/elsewhere")" ""
check "relative XDG_DATA_HOME: the collection in ~/.local/share" \
    "$(ls "$work/home/.local/share/tesselle/dbtsl.db" 2>/dev/null)" "$work/home/.local/share/tesselle/dbtsl.db"
# An absolute one is followed.
env -u DISPLAY HOME="$work/home" XDG_DATA_HOME="$work/data" "$program" --export "$work/out.gpl" >/dev/null 2>&1
check "absolute XDG_DATA_HOME followed" "$(ls "$work/data/tesselle/dbtsl.db" 2>/dev/null)" "$work/data/tesselle/dbtsl.db"

# File names whose bytes are not UTF-8, taken as the system gives them.
db="$work/$(printf 'db\377.db')"
in="$work/$(printf 'in\376.gpl')"
out="$work/$(printf 'out\375.gpl')"
cp "$work/home/.local/share/tesselle/dbtsl.db" "$db"
printf 'GIMP Palette\nName: x\n#\n  1   2   3\tK8.04.43\n' >"$in"
env -u DISPLAY HOME="$work/home" "$program" --database "$db" --import "$in" >/dev/null 2>"$work/err"
check "--import and --database with non-UTF-8 names" "$?" 0
check "the import went into that file" "$(sqlite3 "$db" "select code from baby2")" "K8.04.43"
env -u DISPLAY HOME="$work/home" "$program" --database "$db" --export "$out" >/dev/null 2>"$work/err"
check "--export to a non-UTF-8 name" "$?" 0
check "the file written under that name" "$(grep -c 'K8.04.43' "$out" 2>/dev/null)" 1
check "no other name made" "$(ls -A "$work" | grep -c "$(printf '\357\277\275')")" 0
check "no journal or temporary file left" "$(ls -A "$work" | grep -c -e '-journal' -e 'tesselle-export')" 0
# A FIFO under such a name is refused and stays a FIFO, not replaced by
# the file written beside it (the refusal comes before any open: no wait).
fifo="$work/$(printf 'fifo\374.gpl')"
mkfifo "$fifo"
timeout 20 env -u DISPLAY HOME="$work/home" "$program" --database "$db" --export "$fifo" >/dev/null 2>"$work/err"
check "--export over a FIFO with a non-UTF-8 name: status 1" "$?" 1
check "the FIFO is said not to be a regular file" "$(grep -c 'is not a regular file' "$work/err")" 1
check "the FIFO is left as it is" "$([ -p "$fifo" ] && echo FIFO)" FIFO
check "no temporary file left beside it" "$(ls -A "$work" | grep -c 'tesselle-export')" 0

echo "$failures failed"
[ "$failures" -eq 0 ]
