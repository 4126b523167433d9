# SPDX-License-Identifier: MIT
# The start shared by the tests that read the window through AT-SPI: sourced
# first thing (with program, makedb and source set), it runs the test again
# inside a D-Bus session of its own, so that no desktop's bus is touched,
# then sources tests/x11/lib.sh.

if [ -z "${TESSELLE_ATSPI_SESSION:-}" ]; then
    TESSELLE_ATSPI_SESSION=1 exec dbus-run-session -- sh "$0" "$@"
fi

. "$source/tests/x11/lib.sh"

# The accessibility bus (launch_atspi_bus), stopped on exit (a test that
# starts more helpers sets its own trap, naming $launcher too).
start_atspi_bus() {
    launch_atspi_bus
    trap 'kill "$launcher" 2>/dev/null || true; cleanup' EXIT
}
