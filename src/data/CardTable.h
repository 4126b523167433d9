// SPDX-License-Identifier: MIT
#pragma once

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
    QVariant highestPage();
    // The colours of one page in Row order.
    QVector<CardEntry> page(qint64 pageNumber);
    // The colour with that code, compared without regard to case.
    std::optional<CardEntry> find(const QString &code);
    // Sets the card cursor back to the whole card in Sn order.
    void rewind();
    // Every colour of the card, in Sn order.
    QVector<CardEntry> all();
    // Every code of the card, in no set order.
    QStringList codes();
    // Whether the last read could not be made because another program held
    // the file (its result then read as empty).
    bool wasBusy() const;

    // The colour of code in the card table named table; none when that is
    // not a card table or does not hold the code.
    std::optional<QColor> colourOf(const QString &table, const QString &code);

private:
    // The rows of the card cursor's statement, run.
    QVector<CardEntry> rows();

    DataCursor *m_cards;
    DataCursor *m_entryColours;
};
