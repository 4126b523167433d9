// SPDX-License-Identifier: MIT
// makedb: builds the card database from the card's CSV.
//
//   makedb --if-absent <card.csv> <database>
//
// An existing database is never opened or touched, because it holds the
// user's collection: with --if-absent that is success, without it an error.
// Otherwise the CSV is checked line by line, the database is built under a
// temporary name beside the target and only then renamed onto it, so an
// interrupted build never leaves a half-made database behind.

#include "data/CardRow.h"
#include "data/CardSchema.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdio>

namespace {

const QString kCardTable = QStringLiteral("5327");
const QString kHeader = QStringLiteral("Sn,Page,Row,Code,R,G,B");
constexpr int kFieldCount = 7;
constexpr int kCodeColumn = 3;
constexpr int kCodeLength = 8;
constexpr int kMaxDigits = 9; // keeps every accepted number inside an int

// The integer columns of a line: where they sit, what they may hold and
// where they go.
struct IntField
{
    int column;
    const char *name;
    int min;
    int max;
    int CardRow::*member;
};

const IntField kIntFields[] = {
    {0, "Sn", 1, 999999999, &CardRow::sn},
    {1, "Page", 1, 9999, &CardRow::page},
    {2, "Row", 1, 8, &CardRow::row},
    {4, "R", 0, 255, &CardRow::r},
    {5, "G", 0, 255, &CardRow::g},
    {6, "B", 0, 255, &CardRow::b},
};

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

// A plain decimal number: digits only, no sign, no spaces.
bool isNumber(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The value of a number that isNumber() accepted, or -1 when it has too many
// digits for any column.
int numberValue(const QString &text)
{
    if (text.size() > kMaxDigits)
        return -1;
    int v = 0;
    for (const QChar c : text)
        v = v * 10 + (c.unicode() - '0');
    return v;
}

// The card table looks codes up without regard to ASCII case, so two codes
// that differ only so would be one code to the program.
QString foldedCode(const QString &code)
{
    QString folded = code;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

// Reads and checks the card's CSV. On failure, error names the file and
// line.
bool readCard(const QString &path, QVector<CardRow> *rows, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot read: %2").arg(path, file.errorString());
        return false;
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    const auto fail = [&](int lineNumber, const QString &why) {
        *error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(why);
        return false;
    };

    if (lines.isEmpty())
        return fail(1, QStringLiteral("empty file, expected the header \"%1\"").arg(kHeader));
    QString header = lines.first();
    if (header.startsWith(QChar(0xFEFF)))
        header.remove(0, 1);
    if (header != kHeader)
        return fail(1, QStringLiteral("expected the header \"%1\", found \"%2\"")
                           .arg(kHeader, header));
    if (lines.size() == 1)
        return fail(1, QStringLiteral("no colours after the header"));

    QSet<int> sns;
    QHash<QString, int> codeLines;
    QHash<QPair<int, int>, int> placeLines;
    rows->clear();
    rows->reserve(lines.size() - 1);

    for (int i = 1; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        const QStringList fields = lines.at(i).split(QLatin1Char(','));
        if (fields.size() != kFieldCount)
            return fail(lineNumber, QStringLiteral("expected %1 fields, found %2")
                                        .arg(kFieldCount)
                                        .arg(fields.size()));

        CardRow row;
        for (const IntField &f : kIntFields) {
            const QString &text = fields.at(f.column);
            if (!isNumber(text))
                return fail(lineNumber, QStringLiteral("%1 \"%2\" is not a whole number")
                                            .arg(QLatin1String(f.name), text));
            const int value = numberValue(text);
            if (value < f.min || value > f.max)
                return fail(lineNumber, QStringLiteral("%1 %2 is out of range %3..%4")
                                            .arg(QLatin1String(f.name), text)
                                            .arg(f.min)
                                            .arg(f.max));
            row.*f.member = value;
        }
        row.code = fields.at(kCodeColumn);
        if (row.code.size() != kCodeLength)
            return fail(lineNumber, QStringLiteral("Code \"%1\" has %2 characters, expected %3")
                                        .arg(row.code)
                                        .arg(row.code.size())
                                        .arg(kCodeLength));

        if (sns.contains(row.sn))
            return fail(lineNumber, QStringLiteral("Sn %1 appears twice").arg(row.sn));
        sns.insert(row.sn);
        const QString folded = foldedCode(row.code);
        if (codeLines.contains(folded))
            return fail(lineNumber, QStringLiteral("Code %1 repeats line %2")
                                        .arg(row.code)
                                        .arg(codeLines.value(folded)));
        codeLines.insert(folded, lineNumber);
        const QPair<int, int> place(row.page, row.row);
        if (placeLines.contains(place))
            return fail(lineNumber, QStringLiteral("page %1 row %2 repeats line %3")
                                        .arg(row.page)
                                        .arg(row.row)
                                        .arg(placeLines.value(place)));
        placeLines.insert(place, lineNumber);

        rows->append(row);
    }
    return true;
}

void removeDatabaseFiles(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// Creates both tables in a new database file at path and fills the card.
bool writeDatabase(const QString &path, const QVector<CardRow> &rows, QString *error)
{
    const QString connection =
        QStringLiteral("makedb-%1").arg(QCoreApplication::applicationPid());
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            *error = QStringLiteral("%1: cannot create: %2").arg(path, db.lastError().text());
        } else {
            QString why;
            ok = CardSchema::createCardTable(db, kCardTable, &why)
                 && CardSchema::createCollectionTable(db, &why)
                 && CardSchema::insertCard(db, kCardTable, rows, &why);
            if (!ok)
                *error = QStringLiteral("%1: %2").arg(path, why);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
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

    QVector<CardRow> rows;
    QString error;
    if (!readCard(csvPath, &rows, &error)) {
        err(error);
        return Failure;
    }

    const QString tempPath =
        QStringLiteral("%1.tmp-%2").arg(dbPath).arg(QCoreApplication::applicationPid());
    removeDatabaseFiles(tempPath); // left over from a crashed run with our pid
    if (!writeDatabase(tempPath, rows, &error)) {
        removeDatabaseFiles(tempPath);
        err(error);
        return Failure;
    }

    // QFile::rename never replaces an existing file, so a database that
    // appeared meanwhile is kept as well.
    QFile temp(tempPath);
    if (!temp.rename(dbPath)) {
        const QString reason = temp.errorString();
        removeDatabaseFiles(tempPath);
        if (QFileInfo::exists(dbPath))
            return kept();
        err(QStringLiteral("cannot rename %1 to %2: %3").arg(tempPath, dbPath, reason));
        return Failure;
    }
    out(QStringLiteral("created %1 with %2 colours").arg(dbPath).arg(rows.size()));
    return Success;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return run(app.arguments().mid(1));
}
