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
#include "colour/ReportText.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"

#include <QCoreApplication>

#include <algorithm>
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
    if (PaletteFormat::readerFor(path))
        return true;
    // A name without a suffix read may still hold a format its bytes show.
    const PaletteFile::Result file = PaletteFile::read(path);
    return file.ok() && PaletteFormat::detect(path, file.bytes).format != nullptr;
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

// What the rows of a palette come to, counted row by row in the file's
// order without keeping the rows: for each card colour the first row that
// may land and how many rows became it, the rest as counts. Whether a card
// colour is added, collected or merged is decided against what is
// collected when the write begins.
class PaletteImport::Tally
{
public:
    Tally(int cardSize, double maxDeltaE) : m_candidates(size_t(cardSize)), m_maxDeltaE(maxDeltaE) {}

    void count(const PaletteImport::Row &row, bool leftOut)
    {
        ++m_rows;
        if (row.code.isEmpty()) {
            ++m_unread;
            if (m_unreadWhy.size() < namedUnread)
                m_unreadWhy.append(row.why);
        } else if (!row.byCode && row.deltaE > m_maxDeltaE) {
            ++m_tooFar;
        } else if (leftOut) {
            ++m_leftOut;
        } else {
            Candidate &c = m_candidates[size_t(row.cardIndex)];
            if (c.rows++ == 0) {
                c.order = m_order++;
                c.byCode = row.byCode;
                c.deltaE = row.deltaE;
                c.name = row.name;
                c.collectedWhenRead = row.outcome == PaletteImport::Outcome::Collected;
            }
        }
    }

    // The counts into result; the codes to add, in the file's order.
    QStringList finish(const QSet<QString> &collected, const QVector<CardColour> &card,
                       PaletteImport::Result &result) const
    {
        result.unread = m_unread;
        result.unreadWhy = m_unreadWhy;
        result.tooFar = m_tooFar;
        result.leftOut = m_leftOut;
        std::vector<int> order;
        for (size_t i = 0; i < m_candidates.size(); ++i) {
            if (m_candidates[i].rows > 0)
                order.push_back(int(i));
        }
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return m_candidates[size_t(a)].order < m_candidates[size_t(b)].order; });
        QStringList added;
        for (const int index : order) {
            const Candidate &c = m_candidates[size_t(index)];
            const QString &code = card.at(index).code;
            if (collected.contains(code)) {
                (c.collectedWhenRead ? result.collected : result.collectedMeanwhile) += c.rows;
                continue;
            }
            result.merged += c.rows - 1;
            added.append(code);
            if (c.byCode) {
                ++result.byCode;
            } else {
                ++result.matched;
                if (c.deltaE > result.largestDeltaE || result.largestName.isNull()) {
                    result.largestDeltaE = c.deltaE;
                    result.largestName = c.name;
                    result.largestCode = code;
                }
            }
        }
        return added;
    }

    qint64 rows() const { return m_rows; }

private:
    struct Candidate
    {
        qint64 order = 0;
        int rows = 0;
        bool byCode = false;
        bool collectedWhenRead = false;
        double deltaE = 0;
        QString name;
    };

    std::vector<Candidate> m_candidates;  // by the card colour's place
    double m_maxDeltaE;
    qint64 m_order = 0;
    qint64 m_rows = 0;
    int m_unread = 0;
    int m_tooFar = 0;
    int m_leftOut = 0;
    QStringList m_unreadWhy;
};

struct PaletteImport::Matching
{
    std::optional<NearestColours> search;  // made at the first colour without a card code for a name
    std::vector<bool> taken;               // by the card colour's place: cheaper than by code
};

PaletteImport::Row PaletteImport::classify(const PaletteEntry &entry, const QSet<QString> &collected,
                                           Matching &matching) const
{
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
        if (!matching.search)
            matching.search.emplace(CardSearch::build(m_colours));
        const Lab lab = entry.labKnown ? entry.lab : ColourSpace::labFromRgb(*entry.rgb);
        const NearestColours::Match best = matching.search->nearest(lab, 1).value(0);
        if (best.index < 0) {
            row.why = tr("\u201c%1\u201d: its colour cannot be measured").arg(ReportText::cut(entry.code));
            return row;
        }
        const CardColour &c = matching.search->colours().at(best.index);
        row.outcome = Outcome::Nearest;
        row.code = c.code;
        row.cardRgb = c.rgb;
        row.cardIndex = best.index;
        row.deltaE = best.deltaE;
    } else {
        row.why = entry.rgb ? tr("the card has no colours")
                            : tr("\u201c%1\u201d: neither a code of the card nor a colour").arg(ReportText::cut(entry.code));
        return row;
    }
    if (collected.contains(row.code))
        row.outcome = Outcome::Collected;
    else if (matching.taken[size_t(row.cardIndex)])
        row.outcome = Outcome::Merged;
    matching.taken[size_t(row.cardIndex)] = true;
    return row;
}

PaletteImport::Plan PaletteImport::scan(const QString &path, const QSet<QString> &collected,
                                        const std::atomic_bool *cancel, const std::function<void(Row &&)> &take) const
{
    Plan plan;
    plan.path = path;
    Matching matching;
    matching.taken.assign(size_t(m_colours.size()), false);
    // Each colour is decided as it is read; the palette is never held as
    // entries.
    PaletteReader::Reading reading;
    reading.cancel = cancel;
    reading.take = [&](const PaletteEntry &entry) { take(classify(entry, collected, matching)); };
    PaletteReader::Result palette;
    {
        const PaletteFile::Result file = PaletteFile::read(path);
        if (!file.ok()) {
            plan.error = file.error;
            return plan;
        }
        // The format once, by the bytes first and the name second.
        const PaletteFormat::Detection format = PaletteFormat::detect(path, file.bytes);
        if (!format.format) {
            plan.error = tr("%1: the name must end in %2.").arg(ReportText::cut(path), PaletteFormat::readSuffixes());
            return plan;
        }
        plan.formatNote = format.note(path);
        palette = PaletteReader::read(format.format->id, file.bytes, reading);
    }
    if (palette.cancelled) {
        plan.cancelled = true;
        return plan;
    }
    if (!palette.ok()) {
        plan.error = tr("%1 is not a palette this program reads: %2").arg(ReportText::cut(path), palette.error);
        return plan;
    }
    if (palette.read == 0 && palette.unread.isEmpty()) {
        if (!palette.saysEmpty) {
            plan.error = tr("No colours found in %1").arg(ReportText::cut(path));
            return plan;
        }
        plan.empty = true;
    }
    QStringList models;
    if (palette.cmyk > 0)
        models.append(tr("%1 from CMYK, converted through %2, %3").arg(palette.cmyk)
                          .arg(ReportText::cut(PrintColours::cmykProfilePath()), PrintColours::cmykIntentName()));
    if (palette.lab > 0)
        models.append(tr("%1 from Lab (D50)").arg(palette.lab));
    if (palette.outsideSrgb > 0)
        models.append(tr("%1 outside sRGB, matched by their Lab and shown clipped").arg(palette.outsideSrgb));
    if (palette.translucent > 0)
        models.append(tr("%1 with an alpha below 1, matched as opaque").arg(palette.translucent));
    if (!models.isEmpty())
        plan.modelNote = tr("Read %1.").arg(models.join(QStringLiteral("; ")));
    for (const QString &why : palette.unread) {
        Row row;
        row.why = why;
        take(std::move(row));
    }
    plan.ok = true;
    return plan;
}

PaletteImport::Rows::Rows(std::initializer_list<Row> rows)
{
    for (const Row &row : rows)
        append(row);
}

void PaletteImport::Rows::append(const Row &row)
{
    Compact c;
    c.nameAt = quint32(m_names.size());
    c.nameLength = quint32(row.name.size());
    m_names += row.name;
    c.rgb = row.rgb.value_or(0);
    c.hasRgb = row.rgb.has_value();
    c.cardRgb = row.cardRgb;
    c.cardIndex = row.cardIndex;
    c.deltaE = row.deltaE;
    c.outcome = quint8(row.outcome);
    c.byCode = row.byCode;
    if (!row.code.isEmpty()) {
        auto found = m_codes.constFind(row.code);
        if (found == m_codes.constEnd()) {
            found = m_codes.insert(row.code, int(m_texts.size()));
            m_texts.append(row.code);
        }
        c.text = *found;
    } else if (!row.why.isEmpty()) {
        c.text = int(m_texts.size());
        m_texts.append(row.why);
    }
    m_rows.append(c);
}

PaletteImport::Row PaletteImport::Rows::at(int i) const
{
    const Compact &c = m_rows.at(i);
    Row row;
    row.name = m_names.mid(qsizetype(c.nameAt), qsizetype(c.nameLength));
    if (c.hasRgb)
        row.rgb = c.rgb;
    row.cardRgb = c.cardRgb;
    row.cardIndex = c.cardIndex;
    row.deltaE = c.deltaE;
    row.outcome = Outcome(c.outcome);
    row.byCode = c.byCode;
    if (c.text >= 0)
        (row.outcome == Outcome::Unread ? row.why : row.code) = m_texts.at(c.text);
    return row;
}

PaletteImport::Plan PaletteImport::plan(const QString &path, const QSet<QString> &collected,
                                        const std::atomic_bool *cancel) const
{
    Rows rows;
    Plan plan = scan(path, collected, cancel, [&rows](Row &&row) { rows.append(row); });
    if (plan.ok)
        plan.rows = std::move(rows);
    return plan;
}

PaletteImport::Result PaletteImport::apply(const Plan &plan, const QVector<bool> &take, double maxDeltaE)
{
    Tally tally(int(m_colours.size()), maxDeltaE);
    for (int i = 0; i < plan.rows.size(); ++i) {
        const Row row = plan.rows.at(i);
        tally.count(row, !take.isEmpty() && !take.value(i)
                             && (row.outcome == Outcome::ByCode || row.outcome == Outcome::Nearest));
    }
    return commit(plan, tally, maxDeltaE);
}

PaletteImport::Result PaletteImport::read(const QString &path, double maxDeltaE)
{
    const TableResult<QSet<QString>> collected = collectedNow();
    if (collected.refused()) {
        Result refused;
        refused.message = refused.summary = importRefusal(collected.refusal, m_databasePath);
        return refused;
    }
    // Counted as read: a palette of millions of colours is never held as rows.
    Tally tally(int(m_colours.size()), maxDeltaE);
    const Plan plan = scan(path, collected.value, nullptr, [&tally](Row &&row) { tally.count(row, false); });
    return commit(plan, tally, maxDeltaE);
}

PaletteImport::Result PaletteImport::commit(const Plan &plan, const Tally &tally, double maxDeltaE)
{
    Result result;
    if (!plan.ok) {
        result.message = result.summary = plan.error;
        return result;
    }
    if (plan.empty) {
        result.ok = true;
        result.message = result.summary = tr("%1 holds no colours").arg(ReportText::cut(plan.path));
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
    const QStringList added = tally.finish(collected, m_colours, result);
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

    const qint64 skipped = tally.rows() - result.added;
    result.summary = tr("Imported from %1: %2 added, %3 skipped.").arg(ReportText::cut(plan.path)).arg(result.added).arg(skipped);
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
                           .arg(ReportText::cut(result.largestName), result.largestCode));
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
        for (const QString &why : result.unreadWhy)
            lines.append(QStringLiteral("    ") + why);
        if (result.unread > result.unreadWhy.size())
            lines.append(QStringLiteral("    ") + tr("and %1 more").arg(result.unread - result.unreadWhy.size()));
    }
    if (!plan.modelNote.isEmpty())
        lines.append(QStringLiteral("  ") + plan.modelNote);
    if (!plan.formatNote.isEmpty())
        lines.append(QStringLiteral("  ") + plan.formatNote);
    result.message = lines.join(QLatin1Char('\n'));
    return result;
}
