#include "app/Form1.h"

#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "data/Statements.h"

void Form1::addtoBaby()
{
    if (color_a.isEmpty())
        return;

    // A colour is collected once: its code, compared exactly, may stand in
    // no row of the collection, whichever card the row names.
    Adodc1->setRecordSource(Statements::collection());
    Adodc1->Refresh();
    Recordset &entries = Adodc1->recordset();
    if (!entries.contains(QStringLiteral("code"), color_a)) {
        entries.AddNew();
        entries.setField(QStringLiteral("ccard_name"), ccc);
        entries.setField(QStringLiteral("code"), color_a);
        entries.Update();
    }
    // The cursor no longer rests on the entry the collection panel showed.
    m_shownEntry.clear();
}

void Form1::babyDelete()
{
    // Only the entry the collection panel shows can be deleted, and only
    // while the cursor still rests on it.
    Recordset &entries = Adodc1->recordset();
    if (m_shownEntry.isNull() || tart_pb(1)->isHidden()
        || entries.field(QStringLiteral("sn")) != m_shownEntry)
        return;

    entries.Delete();
    m_shownEntry.clear();
    Adodc1->Refresh();
    babyColorizer(baby_num->text().toInt());
}
