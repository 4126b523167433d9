#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// A borderless container that fills itself with a back colour and draws an
// optional picture unscaled at its top-left corner.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setBackColor(const QColor &color);
    QColor backColor() const { return m_backColor; }

    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }

    // Marks the box as showing no known colour: a neutral hatched fill that
    // cannot be mistaken for white (empty) or for a real colour.
    void setUnknown(bool unknown);
    bool isUnknown() const { return m_unknown; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_backColor;
    QPixmap m_picture;
    bool m_unknown = false;
};
