// SPDX-License-Identifier: MIT
// makedb: builds the card database from the card's CSV.
//
//   makedb --if-absent <card.csv> <database>
//
// An existing database is never opened or touched, because it holds the
// user's collection: with --if-absent that is success, without it an error.
// Otherwise the CSV is checked line by line by the same rules start-up
// uses, and the database is built as start-up builds one: under a temporary
// name beside the target, linked into place only when complete, so an
// interrupted build never leaves a half-made database behind.

#include "data/CardReader.h"
#include "data/DatabaseSetup.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

void out(const QString &text)
{
    std::fprintf(stdout, "makedb: %s\n", qUtf8Printable(text));
}

void err(const QString &text)
{
    std::fprintf(stderr, "makedb: %s\n", qUtf8Printable(text));
}

void usage()
{
    std::fprintf(stderr,
                 "usage: makedb [--if-absent] <card.csv> <database>\n"
                 "Builds the card database from the card's CSV. An existing database\n"
                 "is kept as it is; with --if-absent that is not an error.\n");
}

int run(const QStringList &args)
{
    bool ifAbsent = false;
    QStringList paths;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--if-absent")) {
            ifAbsent = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            usage();
            return Success;
        } else if (arg.startsWith(QLatin1Char('-'))) {
            err(QStringLiteral("unknown option %1").arg(arg));
            usage();
            return Usage;
        } else {
            paths.append(arg);
        }
    }
    if (paths.size() != 2) {
        usage();
        return Usage;
    }
    const QString csvPath = paths.at(0);
    const QString dbPath = paths.at(1);

    // A dangling link counts as present too: renaming onto it would replace
    // whatever the user put there.
    const QFileInfo target(dbPath);
    const auto kept = [&]() {
        if (ifAbsent) {
            out(QStringLiteral("%1 exists; kept as it is").arg(dbPath));
            return Success;
        }
        err(QStringLiteral("%1 exists; not overwritten").arg(dbPath));
        return Failure;
    };
    if (target.exists() || target.isSymLink())
        return kept();

    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        err(QStringLiteral("%1: cannot read: %2").arg(csvPath, csv.errorString()));
        return Failure;
    }
    const CardReader::Result card = CardReader::read(csv.readAll());
    if (!card.ok()) {
        err(QStringLiteral("%1:%2: %3").arg(csvPath).arg(card.line).arg(card.reason));
        return Failure;
    }

    // Built under a temporary name and linked into place only when whole;
    // a database that appeared meanwhile is kept as well.
    QString error;
    if (!DatabaseSetup::create(dbPath, card.rows, DatabaseSetup::cardVersion, &error)) {
        if (QFileInfo::exists(dbPath))
            return kept();
        err(error);
        return Failure;
    }
    const QVector<CardRow> &rows = card.rows;
    out(QStringLiteral("created %1 with %2 colours").arg(dbPath).arg(rows.size()));
    return Success;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return run(app.arguments().mid(1));
}
