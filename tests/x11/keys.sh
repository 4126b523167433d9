#!/bin/sh
# SPDX-License-Identifier: MIT
# The keys of the page-number box and the code fields on a real X server:
# the program runs under Xvfb in a program folder of its own, xdotool types
# as a user does, and the result is read from the screen's pixels.
#   keys.sh <program> <makedb> <source folder>
set -eu
program=$1
makedb=$2
source=$3
. "$(dirname "$0")/lib.sh"
start_program

# Page box: 12, Home, Delete leaves 2; Enter shows page 2.
click 115 572
keys End BackSpace BackSpace BackSpace 1 2 Home Delete Return
check "Home, Delete in the page box edits: page 2 shown" \
    "$(wait_for_pixel $swatch_x "$(swatch_y 1)" "$(card 2 1)")" "$(card 2 1)"

# Two codes looked up one after the other.
click 115 598
keys k 8 0 4 4 3 Return
set -- $(where K8.04.43)
check "K8.04.43 found and shown" "$(wait_for_pixel $swatch_x "$(swatch_y "$2")" "$(card "$1" "$2")")" "$(card "$1" "$2")"
keys a 5 6 0 6 3 Return
set -- $(where A5.60.63)
check "a second code typed after the first is found" \
    "$(wait_for_pixel $swatch_x "$(swatch_y "$2")" "$(card "$1" "$2")")" "$(card "$1" "$2")"
finish
