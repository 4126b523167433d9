#include "app/Form1.h"

#include "widgets/Twips.h"
#include "widgets/TextBox.h"
#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "data/Statements.h"
#include "card/PageGeometry.h"
#include "widgets/Swatch.h"

namespace {

// A colour from the database's red, green and blue fields, each held
// within 0 ... 255.
QColor colourOf(const Recordset &row)
{
    static const QString red = QStringLiteral("R");
    static const QString green = QStringLiteral("G");
    static const QString blue = QStringLiteral("B");
    auto channel = [&row](const QString &name) { return qBound(0, row.field(name).toInt(), 255); };
    return QColor(channel(red), channel(green), channel(blue));
}

} // namespace

void Form1::PageLoad(qint64 pagenum)
{
    using namespace PageGeometry;

    pageselect->hide();
    color_a.clear();

    data1->setRecordSource(Statements::page(pagenum));
    data1->Refresh();
    Recordset &rows = data1->recordset();
    if (rows.RecordCount() > 0)
        rows.MoveFirst();
    const int n = rows.RecordCount();

    // Each swatch starts as a copy of the template and then takes its own
    // place, colour and code.
    QWidget *const panel = pagecolor(0)->parentWidget();
    for (int i = 1; i <= n; ++i) {
        auto *swatch = new Swatch(i, panel);
        swatch->setGeometry(Twips::px(swatchLeft), Twips::px(swatchTop(i)), Twips::px(swatchWidth),
                            Twips::px(swatchHeight));
        swatch->setBackColor(colourOf(rows));
        swatch->setToolTip(rows.field(QStringLiteral("Code")).toString());
        swatch->show();
        connect(swatch, &Swatch::Click, this, &Form1::pagecolor_Click);
        pagecolor.insert(i, swatch);
        rows.MoveNext();
    }

    // The selection frame lies over the swatches (it lets clicks through).
    if (n > 0)
        pageselect->raise();
    pageselect->setBackColor(Qt::black);
    pageselect->resize(Twips::px(swatchWidth + 2 * frameBorder),
                       Twips::px(swatchHeight + 2 * frameBorder));
    m_pageShown = pagenum;
    pagen_text->setText(QString::number(pagenum));
}

void Form1::pageMove(qint64 pagenum)
{
    const QList<int> indexes = pagecolor.indexes();
    for (int index : indexes) {
        if (index >= 1)
            delete pagecolor.take(index);
    }
    PageLoad(pagenum);
}

void Form1::pageDisp(int rowns)
{
    // Only a swatch that stands in the column can be selected.
    Swatch *swatch = rowns >= 1 ? pagecolor(rowns) : nullptr;
    if (!swatch)
        return;
    const int border = Twips::px(PageGeometry::frameBorder);
    pageselect->move(swatch->x() - border, swatch->y() - border);
    pageselect->show();
    pagecs->setBackColor(swatch->backColor());
}
