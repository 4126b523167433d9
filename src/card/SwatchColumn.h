// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// The swatch column as one stop of the Tab walk: an invisible widget over
// the column that takes the focus from the keyboard only (a click goes
// through it to the swatch and never moves the focus) and draws the focus
// cue round the framed swatch, or round the column when none is framed.
class SwatchColumn : public QWidget
{
    Q_OBJECT

public:
    explicit SwatchColumn(QWidget *parent = nullptr);

    // Where the cue goes: the framed swatch's frame; empty for the column.
    void setCueRect(const QRect &rect);

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QRect m_cue;
    bool m_keyboardFocus = false;
};
