// SPDX-License-Identifier: MIT
#include "app/CommandLineActions.h"

#include "app/CommandLine.h"
#include "app/NativeFileNames.h"
#include "app/ProgramFiles.h"
#include "collection/PaletteExport.h"
#include "collection/PaletteImport.h"
#include "colour/CardColour.h"
#include "colour/ColourInput.h"
#include "colour/ColourSpace.h"
#include "colour/NearestColours.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"

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
        const std::optional<CardEntry> found = card.find(input.code());
        if (!found) {
            complain(QStringLiteral("%1 is not a code of this card.").arg(input.code()));
            return 1;
        }
        rgb = found->colour.rgb();
    }
    QVector<CardColour> colours;
    for (const CardEntry &c : card.all())
        colours.append({c.sn, c.code, c.colour.rgb(), ColourSpace::labFromRgb(c.colour.rgb())});
    const NearestColours search(colours);
    for (const NearestColours::Match &match : search.nearest(ColourSpace::labFromRgb(rgb), count)) {
        const CardColour &c = search.colours().at(match.index);
        say(QStringLiteral("%1  %2  ΔE00 %3").arg(c.code, hex(c.rgb)).arg(match.deltaE, 0, 'f', 2));
    }
    // ΔE compares sRGB values: a screen's idea of the printed colours.
    std::fprintf(stderr, "ΔE00 between sRGB values: an on-screen approximation of the printed colours.\n");
    return 0;
}

} // namespace

int run(const CommandLine &commandLine)
{
    const ProgramFiles::Database database
        = ProgramFiles::locate(NativeFileNames::forOpening(QStringLiteral("database"), commandLine.database()));
    if (database.path.isEmpty()) {
        complain(QStringLiteral("no database to open: %1").arg(database.error));
        return 1;
    }
    DataCursor data1;
    DataCursor Adodc1;
    DataCursor Adodc2;
    CardTable card(&data1, &Adodc2);
    card.open(database.path);

    if (!commandLine.nearest().isEmpty())
        return nearest(card, commandLine.nearest(), commandLine.count());

    if (!commandLine.importFile().isEmpty()) {
        const QString importFile = NativeFileNames::forOpening(QStringLiteral("import"), commandLine.importFile());
        const PaletteImport::Result result = PaletteImport(&card, database.path).read(importFile);
        if (!result.ok) {
            complain(result.message);
            return PaletteImport::canRead(importFile) ? 1 : 2;
        }
        say(result.message);
        return 0;
    }

    CollectionTable collection(&Adodc1);
    collection.open(database.path);
    const QString exportFile = NativeFileNames::forWriting(commandLine.exportFile());
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

} // namespace CommandLineActions
