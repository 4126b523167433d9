// SPDX-License-Identifier: MIT
#include "app/CommandLineActions.h"

#include "app/CommandLine.h"
#include "app/NativeFileNames.h"
#include "app/ProgramFiles.h"
#include "collection/CardSearch.h"
#include "collection/PaletteExport.h"
#include "collection/PaletteImport.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteFile.h"
#include "colour/PaletteFormat.h"
#include "colour/VisionCheck.h"
#include "colour/VisionSimulation.h"
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
    if (commandLine.wantsVisionCheck())
        return QStringLiteral("checking it for colour-blind viewers");
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

// The pairs one list of colours holds, one line each.
void sayConfusions(const QVector<const PaletteEntry *> &entries)
{
    QVector<QRgb> colours;
    colours.reserve(entries.size());
    for (const PaletteEntry *e : entries)
        colours.append(*e->rgb);
    for (const VisionCheck::Pair &p : VisionCheck::confusions(colours))
        say(QStringLiteral("%1  %2  %3  %4  %5")
                .arg(VisionSimulation::keyword(p.deficiency), entries[p.first]->code, entries[p.second]->code)
                .arg(p.seenDeltaE, 0, 'f', 1)
                .arg(p.normalDeltaE, 0, 'f', 1));
}

int checkVision(PaletteExport &source, bool wholeCard, const QString &databasePath)
{
    const PaletteExport::Entries read = source.entries(wholeCard);
    if (!read.read) {
        complain(read.refusal != WriteRefusal::None ? refusalText(read.refusal, databasePath)
                                                    : QStringLiteral("the collection could not be read."));
        return 1;
    }
    // Entries without a known colour have nothing to confuse.
    QVector<const PaletteEntry *> coloured;
    for (const PaletteEntry &e : read.list)
        if (e.rgb)
            coloured.append(&e);
    if (!wholeCard) {
        sayConfusions(coloured);
        return 0;
    }
    // The card: the colours side by side on each page, a page at a time.
    QVector<const PaletteEntry *> page;
    for (int i = 0; i <= coloured.size(); ++i) {
        if (i == coloured.size() || (!page.isEmpty() && coloured[i]->page != page.first()->page)) {
            sayConfusions(page);
            page.clear();
        }
        if (i < coloured.size())
            page.append(coloured[i]);
    }
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
    if (commandLine.wantsSeeAs()) {
        if (!commandLine.wantsExport()
            || PaletteFormat::writerFor(commandLine.exportFile()) == nullptr
            || PaletteFormat::writerFor(commandLine.exportFile())->id != PaletteFormat::Id::SwatchSheet) {
            complain(QStringLiteral("--see-as goes with --export to a .pdf swatch sheet."));
            return 2;
        }
        const std::optional<VisionSimulation::Vision> vision = VisionSimulation::parse(commandLine.seeAs());
        if (!vision || vision->deficiency == VisionSimulation::Deficiency::None) {
            complain(QStringLiteral("--see-as takes protanopia, deuteranopia, tritanopia or achromatopsia, "
                                    "the first three with an optional severity from 0.1 to 1 (deuteranopia:0.6)."));
            return 2;
        }
    }
    if (commandLine.wantsVisionCheck() && (commandLine.wantsExport() || commandLine.wantsImport() || commandLine.wantsNearest())) {
        complain(QStringLiteral("--check-vision goes alone, or with --card."));
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
    if (commandLine.wantsExport() && !PaletteExport::canWrite(commandLine.exportFile())) {
        complain(QStringLiteral("%1: the name must end in %2.").arg(commandLine.exportFile(), PaletteFormat::writeSuffixes()));
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

    // The name as given, reached through a link when its bytes are not
    // text: a pipe or a device there is left as it is.
    const QString refused
        = PaletteFile::refusedTarget(NativeFileNames::forOpening(QStringLiteral("export"), commandLine.exportFile()));
    if (!refused.isEmpty()) {
        complain(refused);
        return 1;
    }
    CollectionTable collection(&entries);
    if (commandLine.wantsVisionCheck()) {
        collection.open(database.path);
        PaletteExport source(&card, &collection);
        return checkVision(source, commandLine.wholeCard(), database.path);
    }
    const QString exportFile = NativeFileNames::forWriting(commandLine.exportFile());
    // As in the window: one held past the wait refuses the export.
    collection.open(database.path);
    const VisionSimulation::Vision seeAs
        = commandLine.wantsSeeAs() ? VisionSimulation::parse(commandLine.seeAs()).value_or(VisionSimulation::Vision{})
                                   : VisionSimulation::Vision{};
    const PaletteExport::Result result
        = PaletteExport(&card, &collection).write(exportFile, commandLine.wholeCard(), seeAs);
    if (!result.ok) {
        complain(result.message);
        return 1;
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
