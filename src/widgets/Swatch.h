#pragma once

#include "widgets/PictureBox.h"

// One colour swatch of the page column. It keeps its colour's code as its
// tooltip text and reports a click (press and release on it) with its index.
class Swatch : public PictureBox
{
    Q_OBJECT

public:
    explicit Swatch(int index, QWidget *parent = nullptr);

signals:
    void Click(int index);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    bool m_pressed = false;
};
