# SPDX-License-Identifier: MIT
# Orca, the real screen reader, for the tests that listen to it: sourced
# with program, makedb and source set (and a database laid out in $work
# as the test wants it, once this has sourced the AT-SPI session), it starts
# the accessibility bus, openbox and Orca with speech and braille off (no
# audio device here; Orca still writes every utterance to its debug file as
# a "SPEECH OUTPUT" line), then the program, and gives heard(). Only one
# Orca of a user runs at a time: these tests share the X server's lock.
#
# A test that wants its database changed before the program starts sets
# prepare to a function that does it.

. "$source/tests/atspi/session.sh"
start_atspi_bus
start_openbox "$work/openbox.log"

# Orca keeps its settings under the home folder: a fresh one of the test's.
export HOME="$work/home"
mkdir -p "$HOME/orca"
log="$work/orca.log"
# Orca will not start while another of this user's runs: the one of the
# Orca test before may still be on its way out (twenty seconds at most).
for _ in $(seq 100); do
    pgrep -u "$(id -u)" -x orca >/dev/null || break
    sleep 0.2
done
/usr/bin/python3 "$source/tests/orca/run_orca.py" -u "$HOME/orca" -d speech -d braille --debug-file "$log" \
    >"$work/orca.out" 2>&1 &
orca=$!
# Orca is ended, and waited for (five seconds at most), before the next
# test may start one.
stop_orca() {
    kill "$orca" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$orca" 2>/dev/null || break
        sleep 0.1
    done
    kill -9 "$orca" 2>/dev/null || true
}
trap 'stop_orca; kill "$launcher" 2>/dev/null || true; cleanup' EXIT
launched=no
for _ in $(seq 300); do
    grep -q "About to launch Orca" "$log" 2>/dev/null && { launched=yes; break; }
    sleep 0.1
done
if [ "$launched" = no ]; then
    echo "FAIL: Orca did not start within thirty seconds:"
    cat "$work/orca.out"
    exit 1
fi
sleep 2

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
if [ -n "${prepare:-}" ]; then "$prepare"; fi
start_program
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true

# What Orca said after line $1 of its log, one utterance a line.
said_after() {
    tail -n +"$(($1 + 1))" "$log" | sed -n "s/.*SPEECH OUTPUT: '\(.*\)' *{.*/\1/p"
}
# Presses keys and waits up to ten seconds for Orca to say something
# holding the words (a fixed string); records a check. Without keys: in
# what the last keys made it say.
#   heard <what> <words> [<key> ...]
mark=0
heard() {
    what=$1
    words=$2
    shift 2
    if [ $# -gt 0 ]; then
        mark=$(wc -l <"$log")
        xdotool key --delay 120 "$@"
    fi
    found=no
    for _ in $(seq 50); do
        if said_after "$mark" | grep -qF -- "$words"; then found=yes; break; fi
        sleep 0.2
    done
    check "$what: \"$words\"" "$found" yes
    [ "$found" = yes ] || { echo "  Orca said:"; said_after "$mark" | sed 's/^/    /'; }
    sleep 0.3
}
