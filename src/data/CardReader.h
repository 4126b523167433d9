// SPDX-License-Identifier: MIT
#pragma once

#include "data/CardRow.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The card's CSV (header "Sn,Page,Row,Code,R,G,B", one colour a line), read
// and checked by the one set of rules that the database builder and
// start-up share: each value whole and in range, a code of eight
// characters, no serial number, code (in any case) or page and row twice.
namespace CardReader {

struct Result
{
    QVector<CardRow> rows;  // every colour, in file order; empty on a refusal
    int line = 0;           // the line refused, from 1
    QString reason;         // why; empty when the card was read

    bool ok() const { return reason.isEmpty(); }
    // "line N: reason"
    QString refusal() const;
};

Result read(const QByteArray &csv);

} // namespace CardReader
