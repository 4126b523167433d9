// SPDX-License-Identifier: MIT
#include "collection/PaletteImport.h"

#include "colour/CardColour.h"
#include "colour/ColourSpace.h"
#include "colour/NearestColours.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteReader.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <memory>

namespace {

QString suffixOf(const QString &path)
{
    return QFileInfo(path).suffix().toLower();
}

QString tr(const char *text)
{
    return QCoreApplication::translate("PaletteImport", text);
}

// Why an import changed nothing: a refusal by the file's state, or a row the
// file did not take.
QString importRefusal(WriteRefusal refusal, const QString &file)
{
    if (refusal == WriteRefusal::None || refusal == WriteRefusal::Gone || refusal == WriteRefusal::Skipped)
        return tr("The collection could not be changed.");
    return refusalText(refusal, file);
}

} // namespace

PaletteImport::PaletteImport(CardTable *card, const QString &databasePath)
    : m_card(card), m_databasePath(databasePath)
{
}

bool PaletteImport::canRead(const QString &path)
{
    const QString suffix = suffixOf(path);
    return suffix == QLatin1String("gpl") || suffix == QLatin1String("ase") || suffix == QLatin1String("csv");
}

PaletteImport::Result PaletteImport::read(const QString &path)
{
    Result result;
    if (!canRead(path)) {
        result.message = tr("%1: the name must end in .gpl, .ase or .csv.").arg(path);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.message = tr("%1 cannot be read: %2").arg(path, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    const QString suffix = suffixOf(path);
    const PaletteReader::Result palette = suffix == QLatin1String("gpl") ? PaletteReader::gimp(bytes)
        : suffix == QLatin1String("ase")                                 ? PaletteReader::adobeSwatchExchange(bytes)
                                                                         : PaletteReader::csv(bytes);
    if (!palette.ok()) {
        result.message = tr("%1 is not a palette this program reads: %2").arg(path, palette.error);
        return result;
    }

    // A code in capitals -> the card's spelling (the first, should the card
    // hold one in two spellings).
    QHash<QString, QString> codeOf;
    const QStringList codes = m_card->codes();
    codeOf.reserve(codes.size());
    for (const QString &code : codes) {
        const QString upper = code.toUpper();
        if (!codeOf.contains(upper))
            codeOf.insert(upper, code);
    }
    // The search, with every card colour in L*a*b*, is made only when a
    // colour comes without a code of the card.
    std::unique_ptr<NearestColours> nearest;

    // A cursor of its own: the panel's stays on the entry it shows.
    DataCursor cursor;
    CollectionTable collection(&cursor);
    collection.open(m_databasePath);
    QSet<QString> collected;
    for (const CollectionEntry &entry : collection.all())
        collected.insert(entry.code);

    bool ok = false;
    WriteRefusal refusal = cursor.execute(QStringLiteral("begin immediate"), &ok);
    if (!ok) {
        result.message = importRefusal(refusal, m_databasePath);
        return result;
    }
    result.skipped = palette.skipped;
    QStringList added;
    for (const PaletteEntry &entry : palette.entries) {
        QString code = codeOf.value(entry.code.trimmed().toUpper());
        bool matched = false;
        if (code.isEmpty() && entry.rgb) {
            if (!nearest) {
                const QVector<CardEntry> card = m_card->all();
                QVector<CardColour> colours;
                colours.reserve(card.size());
                for (const CardEntry &c : card)
                    colours.append({c.sn, c.code, c.colour.rgb(), ColourSpace::labFromRgb(c.colour.rgb())});
                nearest = std::make_unique<NearestColours>(colours);
            }
            const QVector<NearestColours::Match> best = nearest->nearest(ColourSpace::labFromRgb(*entry.rgb), 1);
            if (!best.isEmpty()) {
                code = nearest->colours().at(best.first().index).code;
                matched = true;
            }
        }
        if (code.isEmpty() || collected.contains(code)) {
            ++result.skipped;
            continue;
        }
        collected.insert(code);
        added.append(code);
        result.matched += matched ? 1 : 0;
    }
    if (const TableResult<bool> made = collection.addMany(CardTable::name(), added); !made.value) {
        refusal = made.refusal;
        cursor.rollback();
        result = Result();
        result.message = importRefusal(refusal, m_databasePath);
        return result;
    }
    result.added = int(added.size());
    refusal = cursor.execute(QStringLiteral("commit"), &ok);
    if (!ok) {
        cursor.rollback();
        result = Result();
        result.message = importRefusal(refusal, m_databasePath);
        return result;
    }
    result.ok = true;
    result.message = tr("Imported from %1: %2 added (%3 matched to the nearest card colour), %4 skipped.")
                         .arg(path)
                         .arg(result.added)
                         .arg(result.matched)
                         .arg(result.skipped);
    return result;
}
