// SPDX-License-Identifier: MIT
#include "collection/PaletteExport.h"

#include "colour/ColourSpace.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteWriter.h"
#include "collection/SwatchSheet.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"

#include <QCoreApplication>
#include <QFileInfo>
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

QString suffixOf(const QString &path)
{
    return QFileInfo(path).suffix().toLower();
}

} // namespace

PaletteExport::PaletteExport(CardTable *card, CollectionTable *collection)
    : m_card(card), m_collection(collection)
{
}

bool PaletteExport::canWrite(const QString &path)
{
    static const QStringList suffixes = {QStringLiteral("gpl"), QStringLiteral("ase"), QStringLiteral("csv"),
                                         QStringLiteral("css"), QStringLiteral("soc"), QStringLiteral("xml")};
    // .pdf: the swatch sheet, written only.
    return suffixes.contains(suffixOf(path)) || suffixOf(path) == QLatin1String("pdf");
}

QVector<PaletteEntry> PaletteExport::entries(bool wholeCard)
{
    // Each card colour converted once, however often it is collected.
    QVector<PaletteEntry> card;
    for (const CardEntry &c : m_card->all())
        card.append(entryOf(c));
    if (wholeCard)
        return card;
    // This card's colours by code, exactly and as the card compares them;
    // entries naming another table are looked up there.
    QHash<QString, int> byCode;
    QHash<QString, int> byUpperCode;
    for (int i = 0; i < card.size(); ++i) {
        byCode.insert(card.at(i).code, i);
        byUpperCode.insert(card.at(i).code.toUpper(), i);
    }
    const QString cardName = CardTable::name();
    const QVector<CollectionEntry> collection = m_collection->all();
    QVector<PaletteEntry> out;
    out.reserve(collection.size());
    for (const CollectionEntry &entry : collection) {
        PaletteEntry e;
        e.code = entry.code;
        if (entry.table == cardName) {
            int index = byCode.value(entry.code, -1);
            if (index < 0)
                index = byUpperCode.value(entry.code.toUpper(), -1);
            if (index >= 0)
                e = card.at(index);
            e.code = entry.code;
        } else if (const std::optional<QColor> colour = m_card->colourOf(entry.table, entry.code)) {
            e.rgb = colour->rgb();
            e.lab = ColourSpace::labFromRgb(colour->rgb());
        }
        out.append(e);
    }
    return out;
}

PaletteExport::Result PaletteExport::write(const QString &path, bool wholeCard)
{
    Result result;
    const QString suffix = suffixOf(path);
    if (!canWrite(path)) {
        result.message = QCoreApplication::translate("PaletteExport",
                             "%1: the name must end in .gpl, .ase, .csv, .css, .soc, .xml or .pdf.").arg(path);
        return result;
    }
    const QVector<PaletteEntry> list = entries(wholeCard);
    // --- .pdf: a swatch sheet to print, not a palette (write only) ---
    if (suffix == QLatin1String("pdf")) {
        QString error;
        if (!SwatchSheet(list, wholeCard).writePdf(path, &error)) {
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
    // --- end of .pdf ---
    const QString name = wholeCard ? QStringLiteral("Tesselle 5327") : QStringLiteral("Tesselle 5327 collection");
    PaletteWriter::Result bytes;
    if (suffix == QLatin1String("gpl"))
        bytes = PaletteWriter::gimp(list, name);
    else if (suffix == QLatin1String("ase"))
        bytes = PaletteWriter::adobeSwatchExchange(list);
    else if (suffix == QLatin1String("csv"))
        bytes = PaletteWriter::csv(list);
    else if (suffix == QLatin1String("css"))
        bytes = PaletteWriter::css(list);
    else if (suffix == QLatin1String("soc"))
        bytes = PaletteWriter::libreOffice(list);
    else
        bytes = PaletteWriter::scribus(list, name);

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
