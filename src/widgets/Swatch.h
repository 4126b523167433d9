#pragma once

#include "widgets/PictureBox.h"

// One colour swatch of the page column. It keeps its colour's code as its
// tooltip text and reports a click (press and release on it) with its index.
// Dragged past the platform's drag distance, it carries its code as text and
// its colour; a press that becomes a drag is no click.
class Swatch : public PictureBox
{
    Q_OBJECT

public:
    explicit Swatch(int index, QWidget *parent = nullptr);

    // Raises Click as a click on the swatch does.
    void click();

signals:
    void Click(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    int m_index;
    bool m_pressed = false;
    QPoint m_pressedAt;
};
