// SPDX-License-Identifier: MIT
#include "app/ProgramFiles.h"

#include "data/CardReader.h"
#include "data/DatabaseSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

// The built-in copies live in a static library, whose resources must be
// registered before first use (outside any namespace, as the macro declares
// a function).
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(builtin);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace ProgramFiles {
namespace {

const char *const databaseFile = "dbtsl.db";
const char *const cardFile = "card5327.csv";

// The card the program ships: the data folder's copy when it reads as a
// card, else the built-in one.
QVector<CardRow> shippedCard()
{
    for (const QString &path : {QDir(dataFolder()).filePath(QLatin1String(cardFile)),
                                QStringLiteral(":/builtin/") + QLatin1String(cardFile)}) {
        registerResources();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const CardReader::Result card = CardReader::read(file.readAll());
        if (card.ok())
            return card.rows;
        std::fprintf(stderr, "tesselle: %s cannot be used: %s\n", qPrintable(path), qPrintable(card.refusal()));
    }
    return {};
}

void warn(Database *db, const QString &text)
{
    std::fprintf(stderr, "tesselle: %s\n", qPrintable(text));
    db->notices.append(text);
}

// A newer version's file is shown as it is and cannot be changed.
void warnNewer(Database *db, const QString &why)
{
    warn(db, QCoreApplication::translate("ProgramFiles", "%1 is shown as it is and cannot be changed: %2.")
                 .arg(db->path, why));
}

// Brings the file up to date, saying why when it cannot be.
void update(Database *db)
{
    const DatabaseSetup::Outcome outcome =
        DatabaseSetup::migrate(db->path, DatabaseSetup::cardVersion, shippedCard);
    if (outcome.kind == DatabaseSetup::Outcome::Skipped)
        warn(db, QCoreApplication::translate("ProgramFiles", "%1 was not updated: %2. It is shown as it is.")
                     .arg(db->path, outcome.message));
    else if (outcome.kind == DatabaseSetup::Outcome::Newer)
        warnNewer(db, outcome.message);
}

// A file the program cannot write (or whose folder it cannot write, where
// the engine keeps its journal) is shown for browsing: the user hears so
// at start, not at the first refused change.
void noteReadOnly(Database *db)
{
    const QFileInfo file(db->path);
    if (!file.exists())
        return;
    if (file.isWritable() && QFileInfo(file.absolutePath()).isWritable())
        return;
    db->readOnly = true;
    warn(db, QCoreApplication::translate("ProgramFiles",
                                         "The collection cannot be changed: %1 is read-only. The card can be browsed.")
                 .arg(db->path));
}

} // namespace

void ignoreRelativeBaseFolders()
{
    // The XDG base-directory rules: a relative path is invalid and is
    // ignored, so where the collection lives never depends on the folder
    // the program was started from.
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty() && !value.startsWith('/'))
            qunsetenv(name);
    }
}

QString dataFolder()
{
    const QDir beside(QCoreApplication::applicationDirPath());
    if (beside.exists(QStringLiteral("swf")))
        return beside.path();
    const QString installed = beside.filePath(QStringLiteral("../share/tesselle"));
    return QFileInfo(installed).isDir() ? QDir::cleanPath(installed) : beside.path();
}

QString builtInCopy(const QString &relativePath)
{
    registerResources();
    return QStringLiteral(":/builtin/") + relativePath;
}

Database database(const QString &named)
{
    Database db = locate(named);
    if (!db.path.isEmpty())
        noteReadOnly(&db);
    return db;
}

Database locate(const QString &named)
{
    Database db;
    if (!named.isEmpty()) {
        // A file named by the user is theirs to keep as it is.
        db.path = QFileInfo(named).absoluteFilePath();
        if (const auto outcome = DatabaseSetup::inspect(db.path); outcome.kind == DatabaseSetup::Outcome::Newer)
            warnNewer(&db, outcome.message);
        return db;
    }
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(databaseFile));
    if (QFileInfo::exists(beside)) {
        db.path = beside;
        update(&db);
        return db;
    }

    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    db.path = QDir(folder).filePath(QLatin1String(databaseFile));
    if (QFileInfo::exists(db.path)) {
        update(&db);
        return db;
    }
    QString error;
    const QVector<CardRow> card = shippedCard();
    if (!QDir().mkpath(folder) || card.isEmpty()
        || !DatabaseSetup::create(db.path, card, DatabaseSetup::cardVersion, &error)) {
        // Another start may have made it meanwhile.
        if (QFileInfo::exists(db.path))
            return db;
        db.error = error.isEmpty() ? QStringLiteral("cannot create %1").arg(db.path) : error;
        db.path.clear();
        return db;
    }
    warn(&db, QCoreApplication::translate("ProgramFiles", "Your collection is kept in %1.").arg(db.path));
    return db;
}

} // namespace ProgramFiles
