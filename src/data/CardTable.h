// SPDX-License-Identifier: MIT
#pragma once

#include "data/TableResult.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>

class DataCursor;

// One colour of a card as the panels show it.
struct CardEntry
{
    QString code;
    QColor colour;
    qint64 page = 0;
    int row = 0;
    int sn = 0;
};

// The card's table, read through the card cursor (data1), and the colour of
// any card table's code, read through the entry-colour cursor (Adodc2). It
// names the card's table and holds the field names, so that the panels deal
// in pages, codes and colours only.
//
// Each call is one wait for other programs' locks (UserAction): shown after
// a second, and, past the busy timeout, refused Busy with an empty value;
// a busy file never ends the program.
class CardTable
{
public:
    CardTable(DataCursor *cards, DataCursor *entryColours);

    // The table that holds this card.
    static QString name();

    // Both cursors read the database file at path.
    void open(const QString &databasePath);

    // The highest page number: the largest whole Page between 1 and 2^53
    // (null when no row has one). Rows on any other page are on no page.
    TableResult<QVariant> highestPage();
    // The colours of one page in Row order; refused Busy, with none, while
    // another program holds the file.
    TableResult<QVector<CardEntry>> page(qint64 pageNumber);
    // The colour with that code, compared without regard to case; refused
    // Busy, with none, while another program holds the file.
    TableResult<std::optional<CardEntry>> find(const QString &code);
    // The card cursor set back to the whole card in Sn order, as the code
    // lookup leaves it after every lookup: nothing reads its rows.
    void rewind();
    // Every colour of the card, in Sn order; refused Busy, with none, while
    // another program holds the file.
    TableResult<QVector<CardEntry>> all();
    // Every code of the card, in no set order.
    QStringList codes();

    // The colour of code in the card table named table; none when that is
    // not a card table or does not hold the code.
    TableResult<std::optional<QColor>> colourOf(const QString &table, const QString &code);

private:
    // The rows of the card cursor's statement, run.
    QVector<CardEntry> rows();
    // Busy when another program kept the cursor's last run from reading.
    static WriteRefusal busy(const DataCursor *cursor);

    DataCursor *m_cards;
    DataCursor *m_entryColours;
};
