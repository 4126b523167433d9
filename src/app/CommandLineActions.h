// SPDX-License-Identifier: MIT
#pragma once

class CommandLine;

// What the program does for options that open no window: it works on the
// database the window would open, with no display, and returns the exit
// status (0 done, 1 it could not be done, 2 the request was not understood).
namespace CommandLineActions {

int run(const CommandLine &commandLine);

} // namespace CommandLineActions
