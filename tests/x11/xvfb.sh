# SPDX-License-Identifier: MIT
# Sourced by the tests and scripts that need an X server of their own, and
# by those that tally checks: the X tests (through lib.sh), the install
# test, the outside readers' test and scripts/bench-accessible.sh.

# start_xvfb <width>x<height>x<depth> [Xvfb option ...]
# Starts Xvfb on a display it picks itself and names (-displayfd: no two
# servers ever take the same one), exports DISPLAY, keeps the server's pid
# in xvfb and waits until it takes a client. A server that takes none
# within ten seconds (a machine under heavy load) is started again, up to
# three times; fails when none does.
start_xvfb() {
    xvfb_screen=$1
    shift
    xvfb_names=$(mktemp)
    for xvfb_attempt in 1 2 3; do
        : >"$xvfb_names"
        Xvfb -displayfd 3 -screen 0 "$xvfb_screen" -nolisten tcp "$@" 3>"$xvfb_names" >/dev/null 2>&1 &
        xvfb=$!
        # The number is written once the server listens, ended by a newline.
        for _ in $(seq 100); do
            grep -q '^[0-9][0-9]*$' "$xvfb_names" 2>/dev/null && break
            kill -0 "$xvfb" 2>/dev/null || break
            sleep 0.1
        done
        if grep -q '^[0-9][0-9]*$' "$xvfb_names" 2>/dev/null; then
            export DISPLAY=":$(cat "$xvfb_names")"
            for _ in $(seq 100); do
                if xdotool getmouselocation >/dev/null 2>&1; then
                    rm -f "$xvfb_names"
                    return 0
                fi
                sleep 0.1
            done
            echo "Xvfb on $DISPLAY took no client (attempt $xvfb_attempt)"
        else
            echo "Xvfb named no display (attempt $xvfb_attempt)"
        fi
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
        xvfb=""
    done
    rm -f "$xvfb_names"
    return 1
}

# The tally: pass <what>, fail <what and why>, and finish, which prints it
# and fails when any check did.
passes=0
failures=0
pass() { echo "PASS: $1"; passes=$((passes + 1)); }
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
