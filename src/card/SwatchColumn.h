// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/ControlArray.h"

#include <QWidget>

class Swatch;

// The swatch column as one stop of the Tab walk: an invisible widget over
// the column that takes the focus from the keyboard only (a click goes
// through it to the swatch and never moves the focus) and draws the focus
// cue round the framed swatch, or round the column when none is framed.
// To a screen reader it is the list of the page's swatches, the framed one
// its selected item, focused while the column has the keyboard.
class SwatchColumn : public QWidget
{
    Q_OBJECT

public:
    explicit SwatchColumn(QWidget *parent = nullptr);

    // Where the cue goes: the framed swatch's frame; empty for the column.
    void setCueRect(const QRect &rect);

    // The swatches of the page (index 0, the template, is none of them).
    void setSwatches(const ControlArray<Swatch> *swatches) { m_swatches = swatches; }
    const ControlArray<Swatch> *swatches() const { return m_swatches; }
    // The framed swatch, null when none.
    Swatch *framed() const;
    // Tells a screen reader where the keyboard is in the list now: on the
    // framed swatch, or on the list when none is framed.
    void presentFocus();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    const ControlArray<Swatch> *m_swatches = nullptr;
    QRect m_cue;
    bool m_keyboardFocus = false;
};
