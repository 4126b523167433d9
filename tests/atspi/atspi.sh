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

. "$source/tests/atspi/session.sh"
start_atspi_bus

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
/usr/bin/python3 "$source/tests/atspi/atspi.py" "$source/data/card5327.csv"
