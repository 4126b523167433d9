#!/bin/sh
# Sets up a Debian 12 machine, builds everything and runs every test
# without a display.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh --tests
sh scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
