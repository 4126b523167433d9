// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

// What a report line shows of a name, an attribute, a colour space or a
// path that a file gave: at most a given number of characters, and "…"
// when that cut it. A character outside the BMP counts once and is never
// split, so a cut name stays valid text.
class ReportText
{
public:
    static constexpr int longest = 60;

    static QString cut(QStringView text, int characters = longest);
};
