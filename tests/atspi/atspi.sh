#!/bin/sh
# SPDX-License-Identifier: MIT
# The window as a screen reader reads it: through the desktop's
# accessibility bus (AT-SPI), in a private D-Bus session with its own bus
# launcher and registry, the program on Xvfb with Qt's bridge always on.
# The checks, in atspi.py, read the tree with pyatspi.
#   atspi.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3

# A D-Bus session of the test's own, so that no desktop's bus is touched.
if [ -z "${TESSELLE_ATSPI_SESSION:-}" ]; then
    TESSELLE_ATSPI_SESSION=1 exec dbus-run-session -- sh "$0" "$@"
fi

. "$source/tests/x11/lib.sh"

# The accessibility bus and its registry, started at once rather than when
# a desktop asks for them.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
launcher=$!
trap 'kill "$launcher" 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
/usr/bin/python3 "$source/tests/atspi/atspi.py" "$source/data/card5327.csv"
