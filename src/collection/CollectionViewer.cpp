#include "app/Form1.h"

#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "data/Statements.h"
#include "widgets/MovieControl.h"

#include <QLabel>

namespace {

const QColor shownCodeBack(230, 230, 230);
const QColor emptyBack(255, 255, 255);

// A position as the panel shows it; anything else counts as 0.
int positionIn(const TextBox *box)
{
    return box->text().toInt();
}

} // namespace

void Form1::babyDef()
{
    baby_code->setBackColor(shownCodeBack);
    nextb_swf->show();
    previousb_swf->show();
    deleteb_swf->show();

    // Counted from the result the cursor holds: start-up, every addition and
    // every deletion keep it current.
    Adodc1->setRecordSource(Statements::collection());
    baby_max = Adodc1->recordset().RecordCount();
    if (baby_max.toInt() != 0) {
        babyColorizer(1);
        return;
    }

    nextb_swf->hide();
    previousb_swf->hide();
    deleteb_swf->hide();
    baby_nummax->setText(QStringLiteral("/%1").arg(baby_max.toInt()));
    baby_num->setText(QStringLiteral("0"));
    baby_color->setBackColor(emptyBack);
    baby_code->setBackColor(emptyBack);
    baby_code->setText(QString());
    m_shownEntry.clear();
}

void Form1::babyColorizer(int colorb_num)
{
    Adodc1->setRecordSource(Statements::collection());
    baby_max = Adodc1->recordset().RecordCount();
    // One past the end (after the last entry was deleted) shows the new last.
    if (colorb_num > baby_max.toInt())
        --colorb_num;
    if (colorb_num <= 0) {
        babyDef();
        return;
    }

    Recordset *entries = &Adodc1->recordset();
    entries->MoveFirst();
    Adodc1->Refresh();
    entries = &Adodc1->recordset();
    entries->Move(colorb_num - 1);

    const QString code = entries->field(QStringLiteral("code")).toString();
    const QString table = entries->field(QStringLiteral("ccard_name")).toString();
    m_shownEntry = entries->field(QStringLiteral("sn"));

    showEntryColour(table, code);
    baby_nummax->setText(QStringLiteral("/%1").arg(baby_max.toInt()));
    baby_code->setText(code);
    baby_num->setText(QString::number(colorb_num));
}

void Form1::showEntryColour(const QString &table, const QString &code)
{
    // An entry whose card table or code cannot be found has no colour to
    // show: its box is marked unknown, and the collection stays usable.
    bool known = Statements::isPlainIdentifier(table);
    if (known) {
        Adodc2->setRecordSource(Statements::colourColumns(table));
        Adodc2->Refresh();
        known = Adodc2->recordset().RecordCount() == 4;
    }
    if (known) {
        Adodc2->setRecordSource(Statements::entryColour(table, code));
        Adodc2->Refresh();
        known = Adodc2->recordset().RecordCount() > 0;
    }
    if (!known) {
        baby_color->setUnknown(true);
        return;
    }
    const Recordset &colour = Adodc2->recordset();
    auto channel = [&colour](const char *name) {
        return qBound(0, colour.field(QLatin1String(name)).toInt(), 255);
    };
    baby_color->setBackColor(QColor(channel("R"), channel("G"), channel("B")));
}

void Form1::nextb_swf_FSCommand(const QString &, const QString &)
{
    int position = positionIn(baby_num) + 1;
    if (position > baby_max.toInt())
        position = 1;
    babyColorizer(position);
}

void Form1::previousb_swf_FSCommand(const QString &, const QString &)
{
    int position = positionIn(baby_num) - 1;
    if (position < 1)
        position = baby_max.toInt();
    babyColorizer(position);
}
