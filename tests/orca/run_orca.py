#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Runs Orca as /usr/bin/orca does, its debug file written line by line so
that a test reads what Orca says as it says it (Orca writes it through a
buffered file otherwise, seen only once Orca has ended).

Usage: run_orca.py <orca's options, --debug-file FILE among them>
"""
import builtins
import runpy
import sys

debug_file = sys.argv[sys.argv.index("--debug-file") + 1]
buffered_open = builtins.open


def line_buffered_open(file, mode="r", *args, **kwargs):
    if file == debug_file and "w" in mode:
        return buffered_open(file, mode, buffering=1)
    return buffered_open(file, mode, *args, **kwargs)


builtins.open = line_buffered_open
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
