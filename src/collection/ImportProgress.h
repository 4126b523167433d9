// SPDX-License-Identifier: MIT
#pragma once

#include "collection/PaletteImport.h"

class QWidget;

// Reads and matches a palette away from the window's thread, so that the
// window keeps painting. Past half a second a window-modal progress dialog
// with Cancel shows; until then the window's input is held back, so that
// none of its handlers runs in the middle of an import.
class ImportProgress
{
public:
    // The plan, or one with cancelled set when the user cancelled.
    static PaletteImport::Plan plan(QWidget *window, const PaletteImport &import, const QString &path);
};
