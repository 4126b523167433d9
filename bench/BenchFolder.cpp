#include "BenchFolder.h"

#include "data/CardRow.h"
#include "data/CardSchema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <map>

namespace {

constexpr int largeCardColours = 100000;
constexpr int rowsPerPage = 8;

template <typename F>
void withDatabase(const QString &path, F f)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        f(db);
    }
    QSqlDatabase::removeDatabase(name);
}

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
    const QDir dir(m_dir.path());
    dir.mkpath(QStringLiteral("swf"));
    const QDir movies(QStringLiteral(TESSELLE_SOURCE_DIR "/swf"));
    for (const QString &movie : movies.entryList({QStringLiteral("*.svg")}, QDir::Files))
        QFile::copy(movies.filePath(movie), dir.filePath(QStringLiteral("swf/") + movie));

    if (card == Card::Shipped) {
        const int rc = QProcess::execute(QStringLiteral(TESSELLE_MAKEDB),
                                         {QStringLiteral("--if-absent"),
                                          QStringLiteral(TESSELLE_SOURCE_DIR "/data/card5327.csv"),
                                          databasePath()});
        if (rc != 0)
            qFatal("makedb failed");
    } else {
        withDatabase(databasePath(), [](QSqlDatabase &db) {
            QVector<CardRow> rows;
            rows.reserve(largeCardColours);
            for (int i = 0; i < largeCardColours; ++i) {
                rows.append(CardRow{i + 1, i / rowsPerPage + 1, i % rowsPerPage + 1, largeCode(i),
                                    (i * 7) % 256, (i * 13) % 256, (i * 29) % 256});
            }
            QString error;
            if (!CardSchema::createCardTable(db, QStringLiteral("5327"), &error)
                || !CardSchema::createCollectionTable(db, &error)
                || !CardSchema::insertCard(db, QStringLiteral("5327"), rows, &error))
                qFatal("large card: %s", qPrintable(error));
        });
    }

    withDatabase(databasePath(), [this, collectionSize](QSqlDatabase &db) {
        QSqlQuery pages(QStringLiteral("select max(Page) from \"5327\""), db);
        m_pages = pages.next() ? pages.value(0).toInt() : 0;
        QSqlQuery codes(QStringLiteral("select Code from \"5327\" order by Sn limit ?"), db);
        codes.addBindValue(collectionSize);
        codes.exec();
        QStringList list;
        while (codes.next())
            list.append(codes.value(0).toString());
        codes.finish();
        // Larger collections than the card: codes of no card, shown unknown.
        for (int i = int(list.size()); i < collectionSize; ++i)
            list.append(QStringLiteral("C%1").arg(i, 7, 10, QLatin1Char('0')));
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("insert into baby2 (ccard_name, code) values ('5327', ?)"));
        for (const QString &code : std::as_const(list)) {
            insert.addBindValue(code);
            insert.exec();
        }
        db.commit();
    });
}

QString BenchFolder::databasePath() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("dbtsl.db"));
}

QString BenchFolder::codeOnPage(int page) const
{
    QString code;
    withDatabase(databasePath(), [&code, page](QSqlDatabase &db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("select Code from \"5327\" where Page = ? order by Row limit 1"));
        q.addBindValue(page);
        q.exec();
        if (q.next())
            code = q.value(0).toString();
    });
    return code;
}

BenchFolder &BenchFolder::shared(Card card, int collectionSize)
{
    static std::map<std::pair<int, int>, std::unique_ptr<BenchFolder>> folders;
    auto &slot = folders[{int(card), collectionSize}];
    if (!slot)
        slot = std::make_unique<BenchFolder>(card, collectionSize);
    return *slot;
}
