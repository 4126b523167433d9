// SPDX-License-Identifier: MIT
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
    m_refusal = WriteRefusal::None;  // the cursor's own says why from here on
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

QVector<CollectionEntry> CollectionTable::all()
{
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
    Recordset &entries = m_entries->recordset();
    entries.readAll();
    const int n = entries.RecordCount();
    QVector<CollectionEntry> out;
    out.reserve(n);
    entries.MoveFirst();
    for (int i = 0; i < n; ++i, entries.MoveNext())
        out.append({entries.field(snField), entries.field(tableField).toString(), entries.field(codeField).toString()});
    return out;
}

bool CollectionTable::contains(const QString &code)
{
    m_refusal = WriteRefusal::None;  // the cursor's own says why from here on
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
    return m_entries->recordset().contains(codeField, code);
}

bool CollectionTable::add(const QString &table, const QString &code)
{
    m_refusal = WriteRefusal::None;  // the cursor's own says why from here on
    Recordset &entries = m_entries->recordset();
    entries.AddNew();
    entries.setField(tableField, table);
    entries.setField(codeField, code);
    return entries.Update();
}

bool CollectionTable::addMany(const QString &table, const QStringList &codes)
{
    m_refusal = WriteRefusal::None;  // the cursor's own says why from here on
    QVector<QVariantList> rows;
    rows.reserve(codes.size());
    for (const QString &code : codes)
        rows.append({table, code});
    return m_entries->recordset().addRows({tableField, codeField}, rows) == codes.size();
}

CollectionTable::Restore CollectionTable::restore(const CollectionEntry &entry)
{
    m_refusal = WriteRefusal::None;
    bool ok = false;
    m_refusal = m_entries->execute(QStringLiteral("begin immediate"), &ok);
    if (!ok)
        return Restore::Refused;
    auto rollback = [this](Restore why) {
        m_entries->rollback();
        return why;
    };
    DataCursor check;
    check.setDatabasePath(m_entries->databasePath());
    check.setRecordSource(Statements::collectionEntry(entry.sn, entry.code));
    check.Refresh();
    Recordset &found = check.recordset();
    if (found.RecordCount() > 0) {
        found.MoveFirst();
        return rollback(found.field(snField) == entry.sn ? Restore::SnTaken : Restore::CodeCollected);
    }
    m_refusal = m_entries->execute(QStringLiteral("insert into baby2 (sn, ccard_name, code) values (?, ?, ?)"), &ok,
                                   {entry.sn, entry.table, entry.code});
    if (!ok)
        return rollback(Restore::Refused);
    m_refusal = m_entries->execute(QStringLiteral("commit"), &ok);
    if (!ok)
        return rollback(Restore::Refused);
    reread();
    return Restore::Done;
}

void CollectionTable::reread()
{
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
}

int CollectionTable::positionOf(const QVariant &sn)
{
    DataCursor count;
    count.setDatabasePath(m_entries->databasePath());
    count.setRecordSource(Statements::collectionPosition(sn));
    count.Refresh();
    return count.recordset().field(QStringLiteral("position")).toInt();
}

WriteRefusal CollectionTable::refusal() const
{
    return m_refusal != WriteRefusal::None ? m_refusal : m_entries->recordset().refusal();
}

QString CollectionTable::databasePath() const
{
    return m_entries->databasePath();
}

bool CollectionTable::remove(const CollectionEntry &entry)
{
    m_refusal = WriteRefusal::None;  // the cursor's own says why from here on
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
    // Serial numbers may be reused by other programs: the entry is the one
    // with all three values still.
    return m_entries->recordset().deleteMatching(
        {{snField, entry.sn}, {tableField, textValue(entry.table)}, {codeField, textValue(entry.code)}});
}

WriteRefusal CollectionTable::beginWrite(bool *ok)
{
    return m_entries->execute(QStringLiteral("begin immediate"), ok);
}

WriteRefusal CollectionTable::commitWrite(bool *ok)
{
    return m_entries->execute(QStringLiteral("commit"), ok);
}

void CollectionTable::rollbackWrite()
{
    m_entries->rollback();
}
