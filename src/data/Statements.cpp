// SPDX-License-Identifier: MIT
#include "data/Statements.h"


namespace Statements {

QString quoted(const QString &table)
{
    QString escaped = table;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool isPlainIdentifier(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool plain = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')
            || (u >= '0' && u <= '9') || u == '_';
        if (!plain)
            return false;
    }
    return true;
}

Statement highestPage(const QString &table)
{
    // Only whole numbers the window can page to count: a row whose Page is
    // text, a real number, a blob, below 1 or beyond 2^53 (where doubles
    // stop holding every whole number) is on no page. Read through the
    // (Page, Row) index from its top; null when no row has such a page.
    return {QStringLiteral("select (select Page from %1 where Page between 1 and 9007199254740992"
                           " and typeof(Page) = 'integer' order by Page desc limit 1) as Expr1000")
                .arg(quoted(table)),
            {}, {}, {}, false, {}};
}

Statement collection()
{
    return {QStringLiteral("select * from baby2 order by sn"), {}, QStringLiteral("baby2"),
            QStringLiteral("sn"), true, QStringLiteral("the collection")};
}

// The card table's statements are the same text every time: made once.
Statement page(qint64 pageNumber)
{
    static const QString sql =
        QStringLiteral("select * from %1  where Page = ? order by Row").arg(quoted(cardTable));
    return {sql, {pageNumber}, {}, {}, false, {}};
}

Statement codeLookup(const QString &code)
{
    static const QString sql =
        QStringLiteral("select * from %1  where code = ? collate nocase").arg(quoted(cardTable));
    return {sql, {code}, {}, {}, false, {}};
}

Statement cardReset()
{
    static const QString sql = QStringLiteral("select * from %1 order by Sn").arg(quoted(cardTable));
    return {sql, {}, {}, {}, false, {}};
}

Statement cardCodes()
{
    static const QString sql = QStringLiteral("select Code from %1").arg(quoted(cardTable));
    return {sql, {}, {}, {}, false, {}};
}

Statement collectionEntry(const QVariant &sn, const QString &code)
{
    return {QStringLiteral("select sn from baby2 where sn = ? or code = ?"), {sn, code}, {}, {}, false, {}};
}

Statement collectionPosition(const QVariant &sn)
{
    return {QStringLiteral("select count(*) as position from baby2 where sn <= ? and exists (select 1 from baby2 where sn = ?)"),
            {sn, sn}, {}, {}, false, {}};
}

Statement entryColour(const QString &table, const QString &code)
{
    return {QStringLiteral("select * from %1 where Code = ? collate nocase").arg(quoted(table)), {code}, {}, {}, false, {}};
}

Statement colourColumns(const QString &table)
{
    return {QStringLiteral("select name from pragma_table_info(?)"
                           " where lower(name) in ('code', 'r', 'g', 'b')"),
            {table}, {}, {}, false, {}};
}

} // namespace Statements
