// SPDX-License-Identifier: MIT
#include "app/CommandLineActions.h"

#include "app/CommandLine.h"
#include "app/NativeFileNames.h"
#include "app/ProgramFiles.h"
#include "collection/CardSearch.h"
#include "collection/PaletteExport.h"
#include "collection/PaletteImport.h"
#include "colour/PaletteFormat.h"
#include "colour/CardColour.h"
#include "colour/ColourInput.h"
#include "colour/ColourSpace.h"
#include "colour/NearestColours.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"
#include "data/UserAction.h"

#include <cmath>
#include <cstdio>

namespace CommandLineActions {
namespace {

void say(const QString &text)
{
    std::printf("%s\n", qPrintable(NativeFileNames::shown(text)));
}

void complain(const QString &text)
{
    std::fprintf(stderr, "tesselle: %s\n", qPrintable(NativeFileNames::shown(text)));
}

QString hex(QRgb rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0'));
}

// What the command waits to do, in words.
QString doing(const CommandLine &commandLine)
{
    if (commandLine.wantsImport())
        return QStringLiteral("importing %1").arg(commandLine.importFile());
    if (commandLine.wantsNearest())
        return QStringLiteral("reading the card");
    return QStringLiteral("exporting to %1").arg(commandLine.exportFile());
}

int nearest(CardTable &card, const QString &typed, int count)
{
    const ColourInput input = ColourInput::parse(typed);
    if (!input.isValid()) {
        complain(input.error());
        return 2;
    }
    if (count == 0) {
        complain(QStringLiteral("--count takes a whole number from 1 to 100."));
        return 2;
    }
    QRgb rgb = input.rgb();
    if (input.kind() == ColourInput::Kind::Code) {
        const std::optional<CardEntry> found = card.find(input.code()).value;
        if (!found) {
            complain(QStringLiteral("%1 is not a code of this card.").arg(input.code()));
            return 1;
        }
        rgb = found->colour.rgb();
    }
    const NearestColours search = CardSearch::build(&card);
    for (const NearestColours::Match &match : search.nearest(ColourSpace::labFromRgb(rgb), count)) {
        const CardColour &c = search.colours().at(match.index);
        say(QStringLiteral("%1  %2  ΔE00 %3").arg(c.code, hex(c.rgb)).arg(match.deltaE, 0, 'f', 2));
    }
    // ΔE compares sRGB values: a screen's idea of the printed colours.
    std::fprintf(stderr, "ΔE00 between sRGB values: an on-screen approximation of the printed colours.\n");
    return 0;
}

// Output that could not be written is a failure, said on standard error:
// a list that never reached its reader is not a success.
int finished(int status)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain(QStringLiteral("the output could not be written to standard output."));
        return status == 0 || status == 3 ? 1 : status;
    }
    return status;
}

int act(const CommandLine &commandLine)
{
    // Each option's own word for an empty argument, before any file is opened.
    if (commandLine.wantsNearest() && commandLine.nearest().isEmpty()) {
        complain(QStringLiteral("--nearest needs a colour: a code, #rrggbb, rgb(r, g, b) or \"R G B\"."));
        return 2;
    }
    if (commandLine.wantsImport() && commandLine.importFile().isEmpty()) {
        complain(QStringLiteral("--import needs the name of a palette file."));
        return 2;
    }
    if (commandLine.wantsExport() && commandLine.exportFile().isEmpty()) {
        complain(QStringLiteral("--export needs the name of the file to write."));
        return 2;
    }
    if (commandLine.wantsImport() && !PaletteImport::canRead(commandLine.importFile())) {
        complain(QStringLiteral("%1: the name must end in %2.").arg(commandLine.importFile(), PaletteFormat::readSuffixes()));
        return 2;
    }
    const double maxDelta = commandLine.maxDelta();
    if (std::isnan(maxDelta)) {
        complain(QStringLiteral("--max-delta takes a number 0 or more."));
        return 2;
    }

    const ProgramFiles::Database database
        = ProgramFiles::locate(NativeFileNames::forOpening(QStringLiteral("database"), commandLine.database()));
    if (database.path.isEmpty()) {
        complain(QStringLiteral("no database to open: %1").arg(database.error));
        return 1;
    }
    // One wait for other programs' locks for the whole command, said on
    // standard error once it has lasted a second.
    const UserAction action;
    UserAction::setWaitHook([path = database.path, what = doing(commandLine)](UserAction::Wait wait, bool) {
        if (wait == UserAction::Wait::Began)
            complain(QStringLiteral("waiting for another program to finish with the collection %1 before %2\u2026")
                         .arg(path, what));
    });
    DataCursor cards;
    DataCursor entries;
    DataCursor entryColours;
    CardTable card(&cards, &entryColours);
    card.open(database.path);

    if (commandLine.wantsNearest())
        return nearest(card, commandLine.nearest(), commandLine.count());

    if (commandLine.wantsImport()) {
        const QString importFile = NativeFileNames::forOpening(QStringLiteral("import"), commandLine.importFile());
        const PaletteImport::Result result = PaletteImport(&card, database.path).read(importFile, maxDelta);
        if (!result.ok) {
            complain(result.message);
            return 1;
        }
        say(result.message);
        return result.unread > 0 ? 3 : 0;
    }

    CollectionTable collection(&entries);
    const QString exportFile = NativeFileNames::forWriting(commandLine.exportFile());
    // As in the window: one held past the wait refuses the export.
    collection.open(database.path);
    const PaletteExport::Result result = PaletteExport(&card, &collection).write(exportFile, commandLine.wholeCard());
    if (!result.ok) {
        complain(result.message);
        return PaletteExport::canWrite(exportFile) ? 1 : 2;
    }
    QString error;
    if (!NativeFileNames::finishWriting(&error)) {
        complain(QStringLiteral("%1 was not written: %2").arg(commandLine.exportFile(), error));
        return 1;
    }
    say(result.message);
    return 0;
}

} // namespace

int run(const CommandLine &commandLine)
{
    return finished(act(commandLine));
}

} // namespace CommandLineActions
