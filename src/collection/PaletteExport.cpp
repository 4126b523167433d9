// SPDX-License-Identifier: MIT
#include "collection/PaletteExport.h"

#include "colour/ColourSpace.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteFile.h"
#include "colour/PaletteFormat.h"
#include "colour/PaletteWriter.h"
#include "collection/SwatchSheet.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"

#include <QCoreApplication>
#include <QHash>
#include <QSaveFile>

namespace {

PaletteEntry entryOf(const CardEntry &c)
{
    PaletteEntry e;
    e.code = c.code;
    e.rgb = c.colour.rgb();
    e.lab = ColourSpace::labFromRgb(c.colour.rgb());
    e.page = int(c.page);
    e.row = c.row;
    return e;
}

} // namespace

PaletteExport::PaletteExport(CardTable *card, CollectionTable *collection)
    : m_card(card), m_collection(collection)
{
}

bool PaletteExport::canWrite(const QString &path)
{
    return PaletteFormat::writerFor(path) != nullptr;
}

PaletteExport::Entries PaletteExport::entries(bool wholeCard)
{
    Entries read;
    // Each card colour converted once, however often it is collected.
    const TableResult<QVector<CardEntry>> cardRows = m_card->all();
    if (cardRows.refused()) {
        read.refusal = cardRows.refusal;
        return read;
    }
    QVector<PaletteEntry> card;
    for (const CardEntry &c : cardRows.value)
        card.append(entryOf(c));
    if (wholeCard) {
        read.list = std::move(card);
        read.read = true;
        return read;
    }
    // This card's colours by code, exactly and as the card compares them;
    // entries naming another table are looked up there.
    QHash<QString, int> byCode;
    QHash<QString, int> byUpperCode;
    for (int i = 0; i < card.size(); ++i) {
        byCode.insert(card.at(i).code, i);
        byUpperCode.insert(card.at(i).code.toUpper(), i);
    }
    const QString cardName = CardTable::name();
    // Each entry becomes a palette entry as it is read: the collection is
    // held once, as what is written.
    QVector<PaletteEntry> &out = read.list;
    WriteRefusal colourRefusal = WriteRefusal::None;
    const TableResult<bool> collection = m_collection->readEach([&](const CollectionEntry &entry) {
        PaletteEntry e;
        e.code = entry.code;
        if (entry.table == cardName) {
            int index = byCode.value(entry.code, -1);
            if (index < 0)
                index = byUpperCode.value(entry.code.toUpper(), -1);
            if (index >= 0)
                e = card.at(index);
            e.code = entry.code;
        } else if (const TableResult<std::optional<QColor>> colour = m_card->colourOf(entry.table, entry.code);
                   colour.refused()) {
            colourRefusal = colour.refusal;
        } else if (colour.value) {
            e.rgb = colour.value->rgb();
            e.lab = ColourSpace::labFromRgb(colour.value->rgb());
        }
        out.append(e);
    });
    read.read = collection.value && colourRefusal == WriteRefusal::None;
    read.refusal = collection.refused() ? collection.refusal : colourRefusal;
    if (!read.read)
        out.clear();
    return read;
}

PaletteExport::Result PaletteExport::write(const QString &path, bool wholeCard,
                                           const VisionSimulation::Vision &vision)
{
    Result result;
    const PaletteFormat *format = PaletteFormat::writerFor(path);
    if (!format) {
        result.message = QCoreApplication::translate("PaletteExport", "%1: the name must end in %2.")
                             .arg(path, PaletteFormat::writeSuffixes());
        return result;
    }
    // Refused before the collection is read: nothing to wait for.
    result.message = PaletteFile::refusedTarget(path);
    if (!result.message.isEmpty())
        return result;
    const Entries read = entries(wholeCard);
    if (!read.read) {
        // Nothing is written: a palette of what could be read would pass
        // for the whole collection.
        result.message = QCoreApplication::translate("PaletteExport", "%1 was not written. %2")
                             .arg(path, read.refusal != WriteRefusal::None
                                            ? refusalText(read.refusal, m_collection->databasePath())
                                            : QCoreApplication::translate("PaletteExport", "The collection could not be read."));
        return result;
    }
    const QVector<PaletteEntry> &list = read.list;
    // A swatch sheet to print is no palette: it has a writer of its own.
    if (format->id == PaletteFormat::Id::SwatchSheet) {
        QString error;
        SwatchSheet sheet(list, wholeCard);
        sheet.setVision(vision);
        if (!sheet.writePdf(path, &error)) {
            result.message = QCoreApplication::translate("PaletteExport", "%1 could not be written: %2").arg(path, error);
            return result;
        }
        result.ok = true;
        result.written = int(list.size());
        result.message = QCoreApplication::translate("PaletteExport", "Exported %1 %2 to %3.")
                             .arg(result.written)
                             .arg(result.written == 1 ? QStringLiteral("colour") : QStringLiteral("colours"), path);
        return result;
    }
    const QString name = wholeCard ? QStringLiteral("Tesselle 5327") : QStringLiteral("Tesselle 5327 collection");
    const PaletteWriter::Result bytes = PaletteWriter::write(format->id, list, name);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data) != bytes.data.size() || !file.commit()) {
        result.message = QCoreApplication::translate("PaletteExport", "%1 could not be written: %2")
                             .arg(path, file.errorString());
        return result;
    }
    result.ok = true;
    result.skipped = bytes.skipped;
    result.written = int(list.size()) - bytes.skipped;
    result.message = QCoreApplication::translate("PaletteExport", "Exported %1 %2 to %3.")
                         .arg(result.written)
                         .arg(result.written == 1 ? QStringLiteral("colour") : QStringLiteral("colours"), path);
    if (bytes.skipped > 0)
        result.message += QLatin1Char(' ')
            + QCoreApplication::translate("PaletteExport", "%1 without a known colour left out: this format cannot hold it.")
                  .arg(bytes.skipped == 1 ? QStringLiteral("1 entry") : QStringLiteral("%1 entries").arg(bytes.skipped));
    return result;
}
