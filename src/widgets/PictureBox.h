// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <memory>

class QPainter;

// A borderless container that fills itself with a back colour and draws an
// optional picture unscaled at its top-left corner. The picture is a
// resource of the program's artwork, read when the box is first drawn.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);
    ~PictureBox() override;

    void setBackColor(const QColor &color);
    QColor backColor() const { return m_backColor; }

    void setPicture(const QString &resource);
    QPixmap picture() const;
    bool hasPicture() const { return !m_pictureResource.isEmpty(); }

    // Marks the box as showing no known colour: a neutral hatched fill that
    // cannot be mistaken for white (empty) or for a real colour.
    void setUnknown(bool unknown);
    bool isUnknown() const { return m_unknown; }

    // Marks the back colour as one of the card's: painted as the eye the
    // user chose sees it (CardPaint), not as an interface colour.
    void setCardColour(bool cardColour) { m_cardColour = cardColour; }
    bool isCardColour() const { return m_cardColour; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void paintArea(QPainter &painter);

    QColor m_backColor;
    QString m_pictureResource;
    mutable std::unique_ptr<QPixmap> m_picture;  // read on first use
    bool m_unknown = false;
    bool m_cardColour = false;
    bool m_keyboardFocus = false;  // the focus came by keyboard: show the cue
};
