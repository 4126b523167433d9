#!/bin/sh
# SPDX-License-Identifier: MIT
# Sets up a Debian 12 machine, builds the program and starts it.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh
sh scripts/build.sh
# Collections of older builds lived in build/dbtsl.db.
sh scripts/move-collection.sh build
exec build/tesselle
