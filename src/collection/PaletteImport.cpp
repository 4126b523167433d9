// SPDX-License-Identifier: MIT
#include "collection/PaletteImport.h"

#include "collection/CardSearch.h"
#include "colour/ColourSpace.h"
#include "colour/NearestColours.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteFile.h"
#include "colour/PaletteFormat.h"
#include "colour/PaletteReader.h"
#include "colour/PrintColours.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"

#include <QCoreApplication>

#include <optional>
#include <vector>

namespace {

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

// How many reasons for unread colours the report names before "and N more".
constexpr int namedUnread = 5;

} // namespace

PaletteImport::PaletteImport(CardTable *card, const QString &databasePath)
    : m_card(card), m_databasePath(databasePath), m_colours(CardSearch::colours(card))
{
    m_indexOfUpper.reserve(m_colours.size());
    for (int i = 0; i < m_colours.size(); ++i) {
        // The first, should the card hold a code in two spellings.
        const QString upper = m_colours.at(i).code.toUpper();
        if (!m_indexOfUpper.contains(upper))
            m_indexOfUpper.insert(upper, i);
    }
}

bool PaletteImport::canRead(const QString &path)
{
    return PaletteFormat::readerFor(path) != nullptr;
}

TableResult<QSet<QString>> PaletteImport::collectedNow() const
{
    // A cursor of its own: the panel's stays on the entry it shows.
    DataCursor cursor;
    CollectionTable collection(&cursor);
    collection.open(m_databasePath);
    const TableResult<QVector<CollectionEntry>> entries = collection.all();
    QSet<QString> collected;
    for (const CollectionEntry &entry : entries.value)
        collected.insert(entry.code);
    return {std::move(collected), entries.refusal};
}

PaletteImport::Plan PaletteImport::plan(const QString &path, const QSet<QString> &collected,
                                        const std::atomic_bool *cancel) const
{
    Plan plan;
    plan.path = path;
    const PaletteFormat *format = PaletteFormat::readerFor(path);
    if (!format) {
        plan.error = tr("%1: the name must end in %2.").arg(path, PaletteFormat::readSuffixes());
        return plan;
    }
    PaletteReader::Result palette;
    {
        const PaletteFile::Result file = PaletteFile::read(path);
        if (!file.ok()) {
            plan.error = file.error;
            return plan;
        }
        palette = PaletteReader::read(format->id, file.bytes);
    }
    if (!palette.ok()) {
        plan.error = tr("%1 is not a palette this program reads: %2").arg(path, palette.error);
        return plan;
    }
    QStringList models;
    if (palette.cmyk > 0)
        models.append(tr("%1 from CMYK, converted through %2, %3").arg(palette.cmyk)
                          .arg(PrintColours::cmykProfilePath(), PrintColours::cmykIntentName()));
    if (palette.lab > 0)
        models.append(tr("%1 from Lab (D50)").arg(palette.lab));
    if (!models.isEmpty())
        plan.modelNote = tr("Read %1.").arg(models.join(QStringLiteral("; ")));

    // Made at the first colour without a card code for a name.
    std::optional<NearestColours> search;
    // By the card colour's place: cheaper than by code for a large palette.
    std::vector<bool> taken(size_t(m_colours.size()), false);
    plan.rows.reserve(palette.entries.size() + palette.unread.size());
    for (int i = 0; i < palette.entries.size(); ++i) {
        if (cancel && (i & 255) == 0 && cancel->load()) {
            plan.cancelled = true;
            return plan;
        }
        const PaletteEntry &entry = palette.entries.at(i);
        Row row;
        row.name = entry.code;
        row.rgb = entry.rgb;
        const int index = m_indexOfUpper.value(entry.code.trimmed().toUpper(), -1);
        if (index >= 0) {
            const CardColour &c = m_colours.at(index);
            row.outcome = Outcome::ByCode;
            row.byCode = true;
            row.code = c.code;
            row.cardRgb = c.rgb;
            row.cardIndex = index;
            // The same sRGB value is no difference; any other is measured.
            if (entry.rgb && !entry.labKnown && *entry.rgb == c.rgb)
                row.deltaE = 0;
            else if (entry.rgb)
                row.deltaE = ColourSpace::deltaE00(entry.labKnown ? entry.lab : ColourSpace::labFromRgb(*entry.rgb),
                                                   ColourSpace::labFromRgb(c.rgb));
        } else if (entry.rgb && !m_colours.isEmpty()) {
            if (!search)
                search.emplace(CardSearch::build(m_colours));
            const Lab lab = entry.labKnown ? entry.lab : ColourSpace::labFromRgb(*entry.rgb);
            const NearestColours::Match best = search->nearest(lab, 1).value(0);
            if (best.index < 0) {
                row.why = tr("\u201c%1\u201d: its colour cannot be measured").arg(entry.code.left(60));
                plan.rows.append(row);
                continue;
            }
            const CardColour &c = search->colours().at(best.index);
            row.outcome = Outcome::Nearest;
            row.code = c.code;
            row.cardRgb = c.rgb;
            row.cardIndex = best.index;
            row.deltaE = best.deltaE;
        } else {
            row.why = entry.rgb ? tr("the card has no colours")
                                : tr("\u201c%1\u201d: neither a code of the card nor a colour").arg(entry.code.left(60));
            plan.rows.append(row);
            continue;
        }
        if (collected.contains(row.code))
            row.outcome = Outcome::Collected;
        else if (taken[size_t(row.cardIndex)])
            row.outcome = Outcome::Merged;
        taken[size_t(row.cardIndex)] = true;
        plan.rows.append(std::move(row));
    }
    for (const QString &why : palette.unread) {
        Row row;
        row.why = why;
        plan.rows.append(row);
    }
    plan.ok = true;
    return plan;
}

PaletteImport::Result PaletteImport::apply(const Plan &plan, const QVector<bool> &take, double maxDeltaE)
{
    Result result;
    if (!plan.ok) {
        result.message = result.summary = plan.error;
        return result;
    }
    DataCursor cursor;
    CollectionTable collection(&cursor);
    collection.open(m_databasePath);
    // The lock first: what is collected is read inside the transaction that
    // adds, so another program's add meanwhile is seen, not doubled.
    bool ok = false;
    WriteRefusal refusal = collection.beginWrite(&ok);
    if (!ok) {
        result.message = result.summary = importRefusal(refusal, m_databasePath);
        return result;
    }
    const TableResult<QVector<CollectionEntry>> entries = collection.all();
    if (entries.refused()) {
        collection.rollbackWrite();
        result.message = result.summary = importRefusal(entries.refusal, m_databasePath);
        return result;
    }
    QSet<QString> collected;
    for (const CollectionEntry &entry : entries.value)
        collected.insert(entry.code);

    std::vector<bool> taken(size_t(m_colours.size()), false);
    QStringList added;
    added.reserve(plan.rows.size());
    for (int i = 0; i < plan.rows.size(); ++i) {
        const Row &row = plan.rows.at(i);
        if (row.code.isEmpty()) {
            ++result.unread;
            result.unreadWhy.append(row.why);
        } else if (!row.byCode && row.deltaE > maxDeltaE) {
            ++result.tooFar;
        } else if (!take.isEmpty() && !take.value(i)
                   && (row.outcome == Outcome::ByCode || row.outcome == Outcome::Nearest)) {
            ++result.leftOut;
        } else if (collected.contains(row.code)) {
            if (row.outcome == Outcome::Collected)
                ++result.collected;
            else
                ++result.collectedMeanwhile;
        } else if (taken[size_t(row.cardIndex)]) {
            ++result.merged;
        } else {
            taken[size_t(row.cardIndex)] = true;
            added.append(row.code);
            if (row.byCode) {
                ++result.byCode;
            } else {
                ++result.matched;
                if (row.deltaE > result.largestDeltaE || result.largestName.isNull()) {
                    result.largestDeltaE = row.deltaE;
                    result.largestName = row.name;
                    result.largestCode = row.code;
                }
            }
        }
    }
    if (const TableResult<bool> made = collection.addMany(CardTable::name(), added); !made.value) {
        refusal = made.refusal;
        collection.rollbackWrite();
        result = Result();
        result.message = result.summary = importRefusal(refusal, m_databasePath);
        return result;
    }
    refusal = collection.commitWrite(&ok);
    if (!ok) {
        collection.rollbackWrite();
        result = Result();
        result.message = result.summary = importRefusal(refusal, m_databasePath);
        return result;
    }
    result.ok = true;
    result.added = int(added.size());

    const int skipped = int(plan.rows.size()) - result.added;
    result.summary = tr("Imported from %1: %2 added, %3 skipped.").arg(plan.path).arg(result.added).arg(skipped);
    QStringList lines{result.summary};
    const auto line = [&lines](int count, const QString &text) {
        if (count > 0)
            lines.append(QStringLiteral("  ") + text.arg(count));
    };
    line(result.byCode, tr("%1 taken by code"));
    if (result.matched > 0)
        lines.append(QStringLiteral("  ")
                     + tr("%1 matched to the nearest card colour, the farthest at \u0394E00 %2: \u201c%3\u201d as %4")
                           .arg(result.matched)
                           .arg(result.largestDeltaE, 0, 'f', 2)
                           .arg(result.largestName, result.largestCode));
    line(result.collected, tr("%1 collected already"));
    line(result.collectedMeanwhile, tr("%1 collected meanwhile by another program"));
    line(result.merged, tr("%1 merged: an earlier palette colour became the same card colour"));
    if (result.tooFar > 0)
        lines.append(QStringLiteral("  ") + tr("%1 farther than \u0394E00 %2 from every card colour")
                                                .arg(result.tooFar)
                                                .arg(maxDeltaE, 0, 'f', 2));
    line(result.leftOut, tr("%1 left out in the preview"));
    if (result.unread > 0) {
        lines.append(QStringLiteral("  ") + tr("%1 not read:").arg(result.unread));
        for (int i = 0; i < result.unreadWhy.size() && i < namedUnread; ++i)
            lines.append(QStringLiteral("    ") + result.unreadWhy.at(i));
        if (result.unreadWhy.size() > namedUnread)
            lines.append(QStringLiteral("    ") + tr("and %1 more").arg(result.unreadWhy.size() - namedUnread));
    }
    if (!plan.modelNote.isEmpty())
        lines.append(QStringLiteral("  ") + plan.modelNote);
    result.message = lines.join(QLatin1Char('\n'));
    return result;
}

PaletteImport::Result PaletteImport::read(const QString &path, double maxDeltaE)
{
    const TableResult<QSet<QString>> collected = collectedNow();
    if (collected.refused()) {
        Result refused;
        refused.message = refused.summary = importRefusal(collected.refusal, m_databasePath);
        return refused;
    }
    return apply(plan(path, collected.value), {}, maxDeltaE);
}
