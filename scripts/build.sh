#!/bin/sh
# SPDX-License-Identifier: MIT
# Configures and builds the program, its tests and benchmarks into build/.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build --parallel "$(nproc)"
