#include "data/CollectionTable.h"

#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "data/Statements.h"

namespace {

const QString snField = QStringLiteral("sn");
const QString tableField = QStringLiteral("ccard_name");
const QString codeField = QStringLiteral("code");

// A text as the engine compares it: a null text is NULL.
QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

} // namespace

CollectionTable::CollectionTable(DataCursor *entries) : m_entries(entries)
{
}

void CollectionTable::open(const QString &databasePath)
{
    m_entries->setDatabasePath(databasePath);
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
}

int CollectionTable::count()
{
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
    return m_entries->recordset().RecordCount();
}

CollectionEntry CollectionTable::at(int position)
{
    m_entries->recordset().MoveFirst();
    m_entries->Refresh();
    Recordset &entries = m_entries->recordset();
    entries.Move(position - 1);
    return {entries.field(snField), entries.field(tableField).toString(),
            entries.field(codeField).toString()};
}

bool CollectionTable::contains(const QString &code)
{
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
    return m_entries->recordset().contains(codeField, code);
}

bool CollectionTable::add(const QString &table, const QString &code)
{
    Recordset &entries = m_entries->recordset();
    entries.AddNew();
    entries.setField(tableField, table);
    entries.setField(codeField, code);
    return entries.Update();
}

WriteRefusal CollectionTable::refusal() const
{
    return m_entries->recordset().refusal();
}

QString CollectionTable::databasePath() const
{
    return m_entries->databasePath();
}

bool CollectionTable::remove(const CollectionEntry &entry)
{
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
    // Serial numbers may be reused by other programs: the entry is the one
    // with all three values still.
    return m_entries->recordset().deleteMatching(
        {{snField, entry.sn}, {tableField, textValue(entry.table)}, {codeField, textValue(entry.code)}});
}
