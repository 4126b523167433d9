#!/bin/sh
# SPDX-License-Identifier: MIT
# Sets up a Debian 12 machine, builds everything and runs every test without
# a display: the fuzz target of the movie reader, the whole suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the whole suite as
# the program ships.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh --tests
sh scripts/build.sh
sh scripts/fuzz.sh
sh scripts/sanitize.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
