// SPDX-License-Identifier: MIT
#include "TestWindow.h"

#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "data/CardTable.h"
#include "widgets/MovieControl.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QLabel>

namespace {

QString element(const char *array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

} // namespace

MovieControl *TestWindow::movie(const char *name) const
{
    return qobject_cast<MovieControl *>(control(QLatin1String(name)));
}

PictureBox *TestWindow::picture(const char *name) const
{
    return qobject_cast<PictureBox *>(control(QLatin1String(name)));
}

TextBox *TestWindow::text(const char *name) const
{
    return qobject_cast<TextBox *>(control(QLatin1String(name)));
}

QLabel *TestWindow::label(const QString &name) const
{
    return qobject_cast<QLabel *>(control(name));
}

PictureBox *TestWindow::tart_pb(int index) const
{
    return qobject_cast<PictureBox *>(control(element("tart_pb", index)));
}

Swatch *TestWindow::pagecolor(int index) const
{
    return cardPanel()->swatch(index);
}

QLabel *TestWindow::codedot_lb(int index) const
{
    return label(element("codedot_lb", index));
}

QLabel *TestWindow::e_label(int index) const
{
    return label(element("e_label", index));
}

QLabel *TestWindow::lab_dlt(int index) const
{
    return label(element("lab_dlt", index));
}

QString TestWindow::color_a() const
{
    return cardPanel()->color_a();
}

qint16 TestWindow::icode_char() const
{
    return cardPanel()->icode_char();
}

QVariant TestWindow::pagenx() const
{
    return cardPanel()->pagenx();
}

QVariant TestWindow::baby_max() const
{
    return collectionPanel()->baby_max();
}

QString TestWindow::ccc() const
{
    return CardTable::name();
}

void TestWindow::pageMove(qint64 page)
{
    cardPanel()->pageMove(page);
}

void TestWindow::pageDisp(int index)
{
    cardPanel()->pageDisp(index);
}

void TestWindow::pagecolor_Click(int index)
{
    cardPanel()->pagecolor_Click(index);
}

void TestWindow::babyColorizer(int position)
{
    collectionPanel()->babyColorizer(position);
}
