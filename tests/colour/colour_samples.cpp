// SPDX-License-Identifier: MIT
// Writes what the Python checks read with other programs' parsers:
//   colour_samples palettes DIR   the sample palette in every format, and
//                                 DIR/expected.json saying what each holds
//   colour_samples ranking FILE   the shipped card, seeded random queries and
//                                 the search's ten nearest for each, as JSON
//   colour_samples vision FILE    seeded random colours as each deficiency
//                                 sees them, and the confused pairs of a
//                                 sample of the card, as JSON
#include "ColourFixtures.h"

#include "colour/ColourSpace.h"
#include "colour/NearestColours.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteWriter.h"
#include "colour/VisionCheck.h"
#include "colour/VisionSimulation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonArray labJson(const Lab &lab)
{
    return {lab.l, lab.a, lab.b};
}

QJsonArray rgbJson(QRgb rgb)
{
    return {qRed(rgb), qGreen(rgb), qBlue(rgb)};
}

bool save(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QVector<PaletteEntry> sampleEntries()
{
    QVector<PaletteEntry> entries;
    const QVector<CardColour> card = ColourFixtures::shippedCard();
    for (int i = 0; i < card.size(); i += 97)
        entries.append({card[i].code, card[i].rgb, card[i].lab, 1 + i / 30, 1 + i % 30});
    // A collection entry that is not on the card, and names that need quoting.
    entries.insert(2, {QStringLiteral("Q1.23.45"), std::nullopt, {}, 0, 0});
    const QRgb odd = qRgb(9, 200, 31);
    entries.append({QStringLiteral("comma, \"quote\" <&> \u00e9"), odd, ColourSpace::labFromRgb(odd), 0, 0});
    entries.append({QStringLiteral("say \"hi\""), odd, ColourSpace::labFromRgb(odd), 0, 0});
    return entries;
}

int writePalettes(const QString &folder)
{
    const QDir dir(folder);
    const QVector<PaletteEntry> entries = sampleEntries();
    const QString name = QStringLiteral("Sample");
    QJsonObject skipped;
    const struct
    {
        const char *file;
        PaletteWriter::Result result;
    } files[] = {
        {"sample.gpl", PaletteWriter::gimp(entries, name, 6)},
        {"sample.ase", PaletteWriter::adobeSwatchExchange(entries)},
        {"sample.csv", PaletteWriter::csv(entries)},
        {"sample.css", PaletteWriter::css(entries)},
        {"sample.soc", PaletteWriter::libreOffice(entries)},
        {"sample.xml", PaletteWriter::scribus(entries, name)},
    };
    for (const auto &f : files) {
        if (!save(dir.filePath(QLatin1String(f.file)), f.result.data))
            return 1;
        skipped.insert(QLatin1String(f.file), f.result.skipped);
    }
    QJsonArray list;
    for (const PaletteEntry &e : entries) {
        QJsonObject o{{"code", e.code}, {"page", e.page}, {"row", e.row},
                      {"css", PaletteWriter::cssPropertyName(e.code)}};
        if (e.rgb) {
            o.insert("rgb", rgbJson(*e.rgb));
            o.insert("lab", labJson(e.lab));
        }
        list.append(o);
    }
    const QJsonObject expected{{"name", name}, {"columns", 6}, {"entries", list}, {"skipped", skipped}};
    return save(dir.filePath(QStringLiteral("expected.json")), QJsonDocument(expected).toJson()) ? 0 : 1;
}

int writeRanking(const QString &path)
{
    const QVector<CardColour> card = ColourFixtures::shippedCard();
    if (card.isEmpty())
        return 1;
    const NearestColours search(card);
    QJsonArray cardJson;
    for (const CardColour &c : card)
        cardJson.append(QJsonObject{{"sn", c.sn}, {"rgb", rgbJson(c.rgb)}, {"lab", labJson(c.lab)}});
    std::mt19937 random(2005);
    QJsonArray queries;
    for (int i = 0; i < 200; ++i) {
        const QRgb rgb = ColourFixtures::randomRgb(random);
        const Lab lab = ColourSpace::labFromRgb(rgb);
        QJsonArray nearest;
        for (const NearestColours::Match &m : search.nearest(lab, 10))
            nearest.append(QJsonArray{card[m.index].sn, m.deltaE});
        queries.append(QJsonObject{{"rgb", rgbJson(rgb)}, {"lab", labJson(lab)}, {"nearest", nearest}});
    }
    const QJsonObject all{{"card", cardJson}, {"queries", queries}};
    return save(path, QJsonDocument(all).toJson(QJsonDocument::Compact)) ? 0 : 1;
}

int writeVision(const QString &path)
{
    std::mt19937 random(1964);
    QVector<QRgb> colours = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0),
                             qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255)};
    for (int i = 0; i < 400; ++i)
        colours.append(ColourFixtures::randomRgb(random));
    QJsonArray coloursJson;
    for (QRgb rgb : colours)
        coloursJson.append(rgbJson(rgb));
    // Tenths, and severities between them, where the matrices are interpolated.
    const double severities[] = {0.3, 0.45, 1.0};
    QJsonArray simulations;
    for (VisionSimulation::Deficiency deficiency : VisionSimulation::deficiencies) {
        for (double severity : severities) {
            if (!VisionSimulation::hasSeverity(deficiency) && severity != 1.0)
                continue;
            const VisionSimulation simulation({deficiency, severity});
            QJsonArray seen;
            for (QRgb rgb : colours)
                seen.append(rgbJson(simulation.simulate(rgb)));
            simulations.append(QJsonObject{{"kind", VisionSimulation::keyword(deficiency)},
                                           {"severity", severity},
                                           {"seen", seen}});
        }
    }
    // A sample of the card spread over its pages: its pairs straddle both
    // thresholds.
    const QVector<CardColour> card = ColourFixtures::shippedCard();
    QVector<QRgb> sample;
    for (int i = 0; i < card.size(); i += 11)
        sample.append(card[i].rgb);
    QJsonArray pairs;
    for (const VisionCheck::Pair &p : VisionCheck::confusions(sample))
        pairs.append(QJsonObject{{"kind", VisionSimulation::keyword(p.deficiency)},
                                 {"first", p.first},
                                 {"second", p.second},
                                 {"seen", p.seenDeltaE},
                                 {"normal", p.normalDeltaE}});
    QJsonArray sampleJson;
    for (QRgb rgb : sample)
        sampleJson.append(rgbJson(rgb));
    const QJsonObject all{{"colours", coloursJson},
                          {"simulations", simulations},
                          {"sample", sampleJson},
                          {"pairs", pairs}};
    return save(path, QJsonDocument(all).toJson(QJsonDocument::Compact)) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("palettes"))
        return writePalettes(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("ranking"))
        return writeRanking(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("vision"))
        return writeVision(args[2]);
    std::fprintf(stderr, "usage: colour_samples palettes DIR | ranking FILE | vision FILE\n");
    return 2;
}
