// SPDX-License-Identifier: MIT
#pragma once

// Makes the program's own font configuration, which names just the two font
// families the window uses, the font system's current one, when that file
// lies beside the executable (or in ../share/tesselle/ when installed) and
// both font folders exist. Call before the
// application object is created. A configuration chosen by the user in the
// environment is left alone.
void useProgramFontConfiguration(const char *argv0);
