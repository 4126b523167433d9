# SPDX-License-Identifier: MIT
# The start shared by the tests that read the window through AT-SPI: sourced
# first thing (with program, makedb and source set), it runs the test again
# inside a D-Bus session of its own, so that no desktop's bus is touched,
# then sources tests/x11/lib.sh.

if [ -z "${TESSELLE_ATSPI_SESSION:-}" ]; then
    TESSELLE_ATSPI_SESSION=1 exec dbus-run-session -- sh "$0" "$@"
fi

. "$source/tests/x11/lib.sh"

# Starts the accessibility bus and its registry at once rather than when a
# desktop asks for them, stopped on exit (a test that starts more helpers
# sets its own trap, naming $launcher too), and waits until the bus answers.
start_atspi_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
    launcher=$!
    trap 'kill "$launcher" 2>/dev/null || true; cleanup' EXIT
    for _ in $(seq 50); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1 && break
        sleep 0.1
    done
}
