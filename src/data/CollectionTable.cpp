// SPDX-License-Identifier: MIT
#include "data/CollectionTable.h"

#include "data/DataCursor.h"
#include "data/PreparedQuery.h"
#include "data/Recordset.h"
#include "data/Statements.h"
#include "data/UserAction.h"

namespace {

const QString snField = QStringLiteral("sn");
const QString tableField = QStringLiteral("ccard_name");
const QString codeField = QStringLiteral("code");

// A text as the engine compares it: a null text is NULL.
QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

// The entry the cursor rests on.
CollectionEntry entryAt(const Recordset &entries)
{
    const QVariant table = entries.field(tableField);
    const QVariant code = entries.field(codeField);
    return {entries.field(snField), table.toString(), code.toString(), table, code};
}

// A value as the file holds it, or the text when none was read.
QVariant stored(const QVariant &value, const QString &text)
{
    return value.isValid() ? value : textValue(text);
}

} // namespace

CollectionTable::CollectionTable(DataCursor *entries) : m_entries(entries)
{
}

template <typename T>
TableResult<T> CollectionTable::answer(T value) const
{
    const WriteRefusal refusal = m_entries->recordset().refusal();
    if (refusal != WriteRefusal::None)
        return {T{}, refusal};
    return {std::move(value), WriteRefusal::None};
}

void CollectionTable::refresh()
{
    m_entries->setRecordSource(Statements::collection());
    m_entries->Refresh();
}

void CollectionTable::open(const QString &databasePath)
{
    const UserAction wait;
    m_entries->setDatabasePath(databasePath);
    refresh();
}

TableResult<int> CollectionTable::count()
{
    const UserAction wait;
    refresh();
    return answer(m_entries->recordset().RecordCount());
}

TableResult<CollectionEntry> CollectionTable::at(int position)
{
    const UserAction wait;
    m_entries->setRecordSource(Statements::collection());
    m_entries->recordset().MoveFirst();
    m_entries->Refresh();
    Recordset &entries = m_entries->recordset();
    entries.Move(position - 1);
    return answer(entryAt(entries));
}

TableResult<QVector<CollectionEntry>> CollectionTable::all()
{
    QVector<CollectionEntry> out;
    const TableResult<bool> read = readEach([&out](const CollectionEntry &entry) { out.append(entry); });
    if (!read.value)
        return {QVector<CollectionEntry>(), read.refusal};
    return {std::move(out), WriteRefusal::None};
}

TableResult<bool> CollectionTable::readEach(const std::function<void(const CollectionEntry &entry)> &visit)
{
    const UserAction wait;
    refresh();
    Recordset &entries = m_entries->recordset();
    // The fields' places, looked up once the result's columns are known.
    bool placed = false;
    int sn = -1, table = -1, code = -1;
    const bool read = entries.readEach([&](const PreparedQuery &row) {
        if (!placed) {
            placed = true;
            sn = entries.fieldIndex(snField);
            table = entries.fieldIndex(tableField);
            code = entries.fieldIndex(codeField);
        }
        const QVariant storedTable = row.value(table);
        const QVariant storedCode = row.value(code);
        visit({row.value(sn), storedTable.toString(), storedCode.toString(), storedTable, storedCode});
    });
    return answer(read);
}

TableResult<bool> CollectionTable::contains(const QString &code)
{
    const UserAction wait;
    refresh();
    const bool found = m_entries->recordset().contains(codeField, code);
    return answer(found);
}

TableResult<bool> CollectionTable::add(const QString &table, const QString &code)
{
    const UserAction wait;
    refresh();
    Recordset &entries = m_entries->recordset();
    entries.AddNew();
    entries.setField(tableField, table);
    entries.setField(codeField, code);
    const bool made = entries.Update();
    return answer(made);
}

TableResult<bool> CollectionTable::addMany(const QString &table, const QStringList &codes)
{
    const UserAction wait;
    refresh();
    QVector<QVariantList> rows;
    rows.reserve(codes.size());
    for (const QString &code : codes)
        rows.append({table, code});
    const bool made = m_entries->recordset().addRows({tableField, codeField}, rows) == codes.size();
    return answer(made);
}

TableResult<CollectionTable::Restore> CollectionTable::restore(const CollectionEntry &entry)
{
    const UserAction wait;
    bool ok = false;
    WriteRefusal refusal = m_entries->execute(QStringLiteral("begin immediate"), &ok);
    if (!ok)
        return {Restore::Refused, refusal};
    auto rollback = [this](Restore why, WriteRefusal refusal = WriteRefusal::None) {
        m_entries->rollback();
        return TableResult<Restore>{why, refusal};
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
    refusal = m_entries->execute(QStringLiteral("insert into baby2 (sn, ccard_name, code) values (?, ?, ?)"), &ok,
                                 {entry.sn, stored(entry.storedTable, entry.table), stored(entry.storedCode, entry.code)});
    if (!ok)
        return rollback(Restore::Refused, refusal);
    refusal = m_entries->execute(QStringLiteral("commit"), &ok);
    if (!ok)
        return rollback(Restore::Refused, refusal);
    reread();
    return {Restore::Done, WriteRefusal::None};
}

void CollectionTable::reread()
{
    const UserAction wait;
    refresh();
}

int CollectionTable::positionOf(const QVariant &sn)
{
    const UserAction wait;
    DataCursor count;
    count.setDatabasePath(m_entries->databasePath());
    count.setRecordSource(Statements::collectionPosition(sn));
    count.Refresh();
    return count.recordset().field(QStringLiteral("position")).toInt();
}

QString CollectionTable::databasePath() const
{
    return m_entries->databasePath();
}

TableResult<bool> CollectionTable::remove(const CollectionEntry &entry)
{
    const UserAction wait;
    refresh();
    // Serial numbers may be reused by other programs: the entry is the one
    // with all three values still, as the file holds them.
    const bool removed = m_entries->recordset().deleteMatching(
        {{snField, entry.sn}, {tableField, stored(entry.storedTable, entry.table)},
         {codeField, stored(entry.storedCode, entry.code)}});
    return answer(removed);
}

WriteRefusal CollectionTable::beginWrite(bool *ok)
{
    const UserAction wait;
    return m_entries->execute(QStringLiteral("begin immediate"), ok);
}

WriteRefusal CollectionTable::commitWrite(bool *ok)
{
    const UserAction wait;
    return m_entries->execute(QStringLiteral("commit"), ok);
}

void CollectionTable::rollbackWrite()
{
    m_entries->rollback();
}
