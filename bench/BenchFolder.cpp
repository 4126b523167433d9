// SPDX-License-Identifier: MIT
#include "BenchFolder.h"

#include "data/CardRow.h"

#include <QProcess>

#include <iterator>
#include <map>

namespace {

constexpr int largeCardColours = 100000;
constexpr int rowsPerPage = 8;
constexpr int longPageRows[] = {1000, 10000};

QString largeCode(int i)
{
    return QStringLiteral("B%1.%2.%3")
        .arg(i / 10000)
        .arg((i / 100) % 100, 2, 10, QLatin1Char('0'))
        .arg(i % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

BenchFolder::BenchFolder(Card card, int collectionSize)
{
    if (card == Card::Shipped) {
        const int rc = QProcess::execute(QStringLiteral(TESSELLE_MAKEDB),
                                         {QStringLiteral("--if-absent"),
                                          QStringLiteral(TESSELLE_SOURCE_DIR "/data/card5327.csv"),
                                          databasePath()});
        if (rc != 0)
            qFatal("makedb failed");
    } else if (card == Card::LongPages) {
        QVector<CardRow> rows;
        int sn = 0;
        for (int page = 1; page <= int(std::size(longPageRows)); ++page) {
            for (int row = 1; row <= longPageRows[page - 1]; ++row, ++sn)
                rows.append(CardRow{sn + 1, page, row, largeCode(sn), (sn * 7) % 256, (sn * 13) % 256, (sn * 29) % 256});
        }
        m_folder.createDatabase(rows);
    } else {
        QVector<CardRow> rows;
        rows.reserve(largeCardColours);
        for (int i = 0; i < largeCardColours; ++i) {
            rows.append(CardRow{i + 1, i / rowsPerPage + 1, i % rowsPerPage + 1, largeCode(i),
                                (i * 7) % 256, (i * 13) % 256, (i * 29) % 256});
        }
        m_folder.createDatabase(rows);
    }
    m_pages = m_folder.column(QStringLiteral("select max(Page) from \"5327\"")).value(0).toInt();

    // The card's own codes first; a collection larger than the card goes on
    // with codes of no card, which show as unknown.
    const QVariantList codes = m_folder.column(QStringLiteral("select Code from \"5327\" order by Sn limit ?"),
                                               {collectionSize});
    QVector<QPair<QString, QString>> entries;
    for (int i = 0; i < collectionSize; ++i) {
        entries.append({QStringLiteral("5327"), i < codes.size() ? codes.at(i).toString()
                                                                 : QStringLiteral("C%1").arg(i, 7, 10, QLatin1Char('0'))});
    }
    m_folder.addCollectionRows(entries);
}

QString BenchFolder::codeOnPage(int page) const
{
    return m_folder.column(QStringLiteral("select Code from \"5327\" where Page = ? order by Row limit 1"), {page})
        .value(0)
        .toString();
}

void BenchFolder::removeEntries(const QString &prefix) const
{
    // The prefix is the benchmark's own, made of letters, digits and dots.
    m_folder.exec(QStringLiteral("delete from baby2 where substr(code, 1, %1) = '%2'")
                      .arg(prefix.size())
                      .arg(prefix));
}

BenchFolder &BenchFolder::shared(Card card, int collectionSize)
{
    static std::map<std::pair<int, int>, std::unique_ptr<BenchFolder>> folders;
    auto &slot = folders[{int(card), collectionSize}];
    if (!slot)
        slot = std::make_unique<BenchFolder>(card, collectionSize);
    return *slot;
}
