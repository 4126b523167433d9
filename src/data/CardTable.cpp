// SPDX-License-Identifier: MIT
#include "data/CardTable.h"

#include "data/DataCursor.h"
#include "data/PreparedQuery.h"
#include "data/Recordset.h"
#include "data/Statements.h"
#include "data/UserAction.h"

namespace {

const QString codeField = QStringLiteral("Code");
const QString pageField = QStringLiteral("Page");
const QString rowField = QStringLiteral("Row");
const QString snField = QStringLiteral("Sn");
const QString highestPageField = QStringLiteral("Expr1000");

// The places of a card row's fields in its result, looked up once for all
// its rows.
struct CardFields
{
    explicit CardFields(const Recordset &rows)
        : code(rows.fieldIndex(codeField)), page(rows.fieldIndex(pageField)), row(rows.fieldIndex(rowField)),
          sn(rows.fieldIndex(snField)), red(rows.fieldIndex(QStringLiteral("R"))),
          green(rows.fieldIndex(QStringLiteral("G"))), blue(rows.fieldIndex(QStringLiteral("B")))
    {
    }

    // The colour of a row, from R, G and B, each held within 0 ... 255;
    // fields gives the row's whole numbers and texts by place.
    template <typename Fields>
    QColor colourOf(const Fields &fields) const
    {
        auto channel = [&fields](int column) { return qBound(0, int(fields.number(column)), 255); };
        return QColor(channel(red), channel(green), channel(blue));
    }

    // That row as a card entry.
    template <typename Fields>
    CardEntry entryOf(const Fields &fields) const
    {
        return {fields.text(code), colourOf(fields), fields.number(page), int(fields.number(row)),
                int(fields.number(sn))};
    }

    int code, page, row, sn, red, green, blue;
};

// The fields of a cursor's current row, by place.
struct CurrentRow
{
    const Recordset &rows;
    qint64 number(int column) const { return rows.field(column).toLongLong(); }
    QString text(int column) const { return rows.field(column).toString(); }
};

// The fields of a row as the statement steps: whole numbers and texts read
// as they are, anything else through its QVariant.
struct SteppingRow
{
    const PreparedQuery &row;
    qint64 number(int column) const
    {
        const std::optional<qint64> value = row.integer(column);
        return value ? *value : row.value(column).toLongLong();
    }
    QString text(int column) const
    {
        std::optional<QString> value = row.text(column);
        return value ? std::move(*value) : row.value(column).toString();
    }
};

} // namespace

CardTable::CardTable(DataCursor *cards, DataCursor *entryColours)
    : m_cards(cards), m_entryColours(entryColours)
{
}

QString CardTable::name()
{
    return QString::fromLatin1(Statements::cardTable);
}

void CardTable::open(const QString &databasePath)
{
    m_cards->setDatabasePath(databasePath);
    m_entryColours->setDatabasePath(databasePath);
}

TableResult<QVariant> CardTable::highestPage()
{
    const UserAction wait;
    m_cards->setRecordSource(Statements::highestPage(name()));
    m_cards->Refresh();
    QVariant highest = m_cards->recordset().field(highestPageField);
    if (const WriteRefusal refusal = busy(m_cards); refusal != WriteRefusal::None)
        return {QVariant(), refusal};
    return {std::move(highest), WriteRefusal::None};
}

TableResult<QVector<CardEntry>> CardTable::page(qint64 pageNumber)
{
    const UserAction wait;
    m_cards->setRecordSource(Statements::page(pageNumber));
    QVector<CardEntry> colours = rows();
    return {std::move(colours), busy(m_cards)};
}

TableResult<QVector<CardEntry>> CardTable::all()
{
    const UserAction wait;
    m_cards->setRecordSource(Statements::cardReset());
    QVector<CardEntry> colours = rows();
    return {std::move(colours), busy(m_cards)};
}

QStringList CardTable::codes()
{
    const UserAction wait;
    m_cards->setRecordSource(Statements::cardCodes());
    m_cards->Refresh();
    Recordset &rows = m_cards->recordset();
    QStringList out;
    std::optional<int> column;  // looked up once the result's columns are known
    const bool read = rows.readEach([&](const PreparedQuery &row) {
        if (!column)
            column = rows.fieldIndex(codeField);
        out.append(row.value(*column).toString());
    });
    return read ? out : QStringList();
}

QVector<CardEntry> CardTable::rows()
{
    m_cards->Refresh();
    Recordset &rows = m_cards->recordset();
    // Each row becomes an entry as it is read; none is kept in the cursor.
    QVector<CardEntry> colours;
    std::optional<CardFields> fields;
    const bool read = rows.readEach([&](const PreparedQuery &row) {
        if (!fields)
            fields.emplace(rows);
        colours.append(fields->entryOf(SteppingRow{row}));
    });
    return read ? colours : QVector<CardEntry>();
}

TableResult<std::optional<CardEntry>> CardTable::find(const QString &code)
{
    const UserAction wait;
    m_cards->setRecordSource(Statements::codeLookup(code));
    m_cards->Refresh();
    const Recordset &found = m_cards->recordset();
    if (found.RecordCount() == 0)
        return {std::nullopt, busy(m_cards)};
    return {CardFields(found).entryOf(CurrentRow{found}), WriteRefusal::None};
}

WriteRefusal CardTable::busy(const DataCursor *cursor)
{
    return cursor->recordset().refusal() == WriteRefusal::Busy ? WriteRefusal::Busy : WriteRefusal::None;
}

void CardTable::rewind()
{
    const UserAction wait;
    m_cards->setRecordSource(Statements::cardReset());
    m_cards->Refresh();
}

TableResult<std::optional<QColor>> CardTable::colourOf(const QString &table, const QString &code)
{
    const UserAction wait;
    // Only a plain name that holds all four colour columns is read as a card
    // table: the name is never spliced unchecked, and another table (the
    // collection itself, say) gives no colour rather than a wrong one.
    if (!Statements::isPlainIdentifier(table))
        return {std::nullopt, WriteRefusal::None};
    m_entryColours->setRecordSource(Statements::colourColumns(table));
    m_entryColours->Refresh();
    if (m_entryColours->recordset().RecordCount() != 4)
        return {std::nullopt, busy(m_entryColours)};
    m_entryColours->setRecordSource(Statements::entryColour(table, code));
    m_entryColours->Refresh();
    const Recordset &colour = m_entryColours->recordset();
    if (colour.RecordCount() == 0)
        return {std::nullopt, busy(m_entryColours)};
    return {CardFields(colour).colourOf(CurrentRow{colour}), WriteRefusal::None};
}
