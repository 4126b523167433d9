// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/PictureBox.h"

class QMimeData;

// One colour swatch of the page column. It keeps its colour's code as its
// tooltip text and reports a click (press and release on it) with its index.
// Dragged past the platform's drag distance, it carries its code as text and
// its colour; a press that becomes a drag is no click.
class Swatch : public PictureBox
{
    Q_OBJECT

public:
    explicit Swatch(int index, QWidget *parent = nullptr);

    // What a drag of the swatch carries: its code as text and its colour.
    QMimeData *dragData() const;
    // Raises Click as a click on the swatch does.
    void click();

    // Where the swatch stands, which a screen reader says with its code:
    // its row in the column, the rows of the column and the page they
    // show. Only kept: the words are made when they are asked for.
    void setPlace(int row, int rowCount, qint64 page);
    int row() const { return m_row; }
    int rowCount() const { return m_rowCount; }
    qint64 page() const { return m_page; }

    // The list a screen reader finds the swatch in, and whether it is the
    // list's selected item (the framed swatch).
    void setList(QWidget *list) { m_list = list; }
    QWidget *list() const { return m_list; }
    void setFramed(bool framed);
    bool isFramed() const { return m_framed; }

signals:
    void Click(int index);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // Whether any of the swatch lies within the widgets it stands in.
    bool withinWindow() const;

    int m_index;
    int m_row = 0;
    int m_rowCount = 0;
    qint64 m_page = 0;
    QWidget *m_list = nullptr;
    bool m_framed = false;
    bool m_pressed = false;
    QPoint m_pressedAt;
};
