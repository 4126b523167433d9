#pragma once

#include <QPoint>
#include <QString>

class Form1;
class QWidget;

// Drives a real window as a person would: shows it, types into whatever has
// the keyboard focus and clicks through the window, so that every event
// reaches the widget under the pointer.
namespace WindowDriver {

// Shows the window, dismisses the intro and waits until it is active.
bool showReady(Form1 &form);

// Types text one key at a time into the focused widget.
void type(const QString &text);
// Presses and releases one key in the focused widget.
void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Clicks at a point of a widget, delivered through the window so that the
// widget actually under that point receives it.
void clickThroughWindow(QWidget *widget, QPoint at);

// The focused widget.
QWidget *focus();

} // namespace WindowDriver
