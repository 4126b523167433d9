// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

class QFocusEvent;
class QPainter;

// The cue that shows which control has the keyboard: a 2-pixel frame inside
// it of black and white dashes, drawn only when the focus came from
// the keyboard (Tab, Backtab, a shortcut), never at start-up or on a click.
// Text boxes keep their caret.
namespace FocusCue {

// Whether a focus event brought the focus from the keyboard.
bool fromKeyboard(const QFocusEvent *event);

// Draws the cue just inside rect.
void draw(QPainter &painter, const QRect &rect);

} // namespace FocusCue
