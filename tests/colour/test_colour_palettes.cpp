// SPDX-License-Identifier: MIT
// Palette files: what each writer produces, each reader's round trip, and
// the readers given damaged input. The files are also read by other
// programs' parsers in check_palette_files.py.
#include "PaletteBytes.h"

#include "colour/ColourSpace.h"
#include "colour/CssColour.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteFile.h"
#include "colour/PaletteFormat.h"
#include "colour/PaletteReader.h"
#include "colour/PaletteWriter.h"
#include "colour/PrintColours.h"
#include "colour/ReportText.h"
#include "colour/ZipArchive.h"

#include <QtEndian>
#include <QtTest>

#include <lcms2.h>

#include <cstring>
#include <functional>
#include <random>

namespace {

PaletteEntry known(const QString &code, QRgb rgb, int page, int row)
{
    return {code, rgb, ColourSpace::labFromRgb(rgb), page, row};
}

PaletteEntry unknown(const QString &code)
{
    return {code, std::nullopt, {}, 0, 0};
}

// Card colours, a collection entry not on the card, and names that test
// each format's quoting: a comma and a quote (CSV), XML's special
// characters, and a character outside the BMP (two UTF-16 units in ASE).
QVector<PaletteEntry> sampleEntries()
{
    return {
        known(QStringLiteral("K8.04.43"), qRgb(104, 100, 97), 12, 5),
        known(QStringLiteral("Z0.00.97"), qRgb(246, 246, 246), 1, 1),
        unknown(QStringLiteral("Q1.23.45")),
        known(QStringLiteral("A1.99.50"), qRgb(0, 0, 0), 3, 7),
        known(QStringLiteral("B2.05.60"), qRgb(255, 255, 255), 4, 2),
        known(QStringLiteral("name, with \"quotes\""), qRgb(1, 2, 3), 9, 9),
        known(QStringLiteral("<&> \u00e9 \U0001F3A8"), qRgb(250, 5, 128), 0, 0),
        unknown(QStringLiteral("")),
    };
}

QVector<PaletteEntry> withColour(const QVector<PaletteEntry> &entries, bool keepPlace)
{
    QVector<PaletteEntry> kept;
    for (PaletteEntry e : entries) {
        if (!e.rgb)
            continue;
        if (!keepPlace)
            e.page = e.row = 0;
        kept.append(e);
    }
    return kept;
}

using Reader = std::function<PaletteReader::Result(const QByteArray &)>;

using PaletteBytes::aseColour;
using PaletteBytes::aseFile;
using PaletteBytes::be16;
using PaletteBytes::be32;
using PaletteBytes::beFloat;

QByteArray le16(quint16 v)
{
    QByteArray out(2, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

QByteArray le32(quint32 v)
{
    QByteArray out(4, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

// A zip archive of one member, its sizes and method as given (a stored
// member unless method is 8), to damage at will.
QByteArray zipOf(const QByteArray &name, const QByteArray &data, quint16 method = 0, quint32 packed = 0xffffffff,
                 quint32 unpacked = 0xffffffff)
{
    if (packed == 0xffffffff)
        packed = quint32(data.size());
    if (unpacked == 0xffffffff)
        unpacked = quint32(data.size());
    const QByteArray local = le32(0x04034b50) + le16(20) + le16(0) + le16(method) + le32(0) + le32(0) + le32(packed)
        + le32(unpacked) + le16(quint16(name.size())) + le16(0) + name + data;
    const QByteArray central = le32(0x02014b50) + le16(20) + le16(20) + le16(0) + le16(method) + le32(0) + le32(0)
        + le32(packed) + le32(unpacked) + le16(quint16(name.size())) + le16(0) + le16(0) + le16(0) + le16(0)
        + le32(0) + le32(0) + name;
    return local + central + le32(0x06054b50) + le16(0) + le16(0) + le16(1) + le16(1)
        + le32(quint32(central.size())) + le32(quint32(local.size())) + le16(0);
}

// Raw deflate (as zip stores it) of data: qCompress's zlib stream without
// its four-byte length, two-byte header and four-byte checksum.
QByteArray deflated(const QByteArray &data)
{
    const QByteArray zlib = qCompress(data, 9);
    return zlib.mid(6, zlib.size() - 10);
}

// A zip archive of members in the order given, stored, or deflated where
// the name is in deflate.
QByteArray zipOfMembers(const QVector<QPair<QByteArray, QByteArray>> &members, const QList<QByteArray> &deflate = {})
{
    QByteArray locals, central;
    for (const auto &[name, data] : members) {
        const quint32 at = quint32(locals.size());
        const bool packs = deflate.contains(name);
        const QByteArray stored = packs ? deflated(data) : data;
        const quint16 method = packs ? 8 : 0;
        locals += le32(0x04034b50) + le16(20) + le16(0) + le16(method) + le32(0) + le32(0) + le32(quint32(stored.size()))
            + le32(quint32(data.size())) + le16(quint16(name.size())) + le16(0) + name + stored;
        central += le32(0x02014b50) + le16(20) + le16(20) + le16(0) + le16(method) + le32(0) + le32(0)
            + le32(quint32(stored.size())) + le32(quint32(data.size())) + le16(quint16(name.size())) + le16(0) + le16(0)
            + le16(0) + le16(0) + le32(0) + le32(at) + name;
    }
    return locals + central + le32(0x06054b50) + le16(0) + le16(0) + le16(quint16(members.size()))
        + le16(quint16(members.size())) + le32(quint32(central.size())) + le32(quint32(locals.size())) + le16(0);
}

// A file that another tool wrote, from tests/palettes (its README says which).
QByteArray otherToolsFile(const char *name)
{
    QFile file(QStringLiteral(TESSELLE_SOURCE_DIR "/tests/palettes/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qWarning("%s: %s", qPrintable(file.fileName()), qPrintable(file.errorString()));
    return file.readAll();
}

} // namespace

Q_DECLARE_METATYPE(Reader)
Q_DECLARE_METATYPE(Lab)

namespace {

// An RGB space's colour in Lab (D65) through Little CMS: a profile made from
// the space's primaries, white and curve, to D50 Lab, adapted as palette Lab
// is. A reference independent of the matrices the reader uses.
Lab labThroughProfile(const cmsCIExyYTRIPLE &primaries, cmsToneCurve *curve, double r, double g, double b)
{
    const cmsCIExyY d65 = {0.3127, 0.3290, 1.0};
    cmsToneCurve *curves[3] = {curve, curve, curve};
    cmsHPROFILE rgb = cmsCreateRGBProfile(&d65, &primaries, curves);
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM transform = cmsCreateTransform(rgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC,
                                                 cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOCACHE);
    const double in[3] = {r, g, b};
    cmsCIELab out;
    cmsDoTransform(transform, in, &out, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(rgb);
    cmsCloseProfile(lab);
    cmsFreeToneCurve(curve);
    return PrintColours::fromLabD50(out.L, out.a, out.b).lab;
}

Lab displayP3(double r, double g, double b)
{
    const double srgbCurve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return labThroughProfile({{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}},
                             cmsBuildParametricToneCurve(nullptr, 4, srgbCurve), r, g, b);
}

Lab adobeRgb(double r, double g, double b)
{
    return labThroughProfile({{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}},
                             cmsBuildGamma(nullptr, 563.0 / 256), r, g, b);
}

} // namespace

class TestColourPalettes : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void writersLeaveOutEntriesWithoutColour();
    void gimpLayout();
    void aseBlocks();
    void csvField_data();
    void csvField();
    void cssPropertyName_data();
    void cssPropertyName();

    void readOtherWriters_data();
    void readOtherWriters();
    void printColours();
    void rejectDamaged_data();
    void rejectDamaged();
    void badLineNotRead_data();
    void badLineNotRead();
    void aseCutAtEveryByte();
    void damagedBytesNeverCrash();
    void cssStylesheets_data();
    void cssStylesheets();
    void cssTokenSoup();
    void cssColourForms_data();
    void cssColourForms();
    void emptyByItsOwnWord_data();
    void emptyByItsOwnWord();
    void reportTextCut_data();
    void reportTextCut();
    void kritaSpacesOfOneLargeProfile();
    void formatByContent_data();
    void formatByContent();
    void readingStopsAtCancel_data();
    void readingStopsAtCancel();
    void archiveInflatesAtMostTheLimit();
};

void TestColourPalettes::roundTrip_data()
{
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QVector<PaletteEntry>>("expected");
    const QVector<PaletteEntry> entries = sampleEntries();
    QTest::newRow("gpl") << PaletteWriter::gimp(entries, QStringLiteral("Mine"), 4).data
                         << Reader(PaletteReader::gimp) << withColour(entries, false);
    QTest::newRow("ase") << PaletteWriter::adobeSwatchExchange(entries).data
                         << Reader(PaletteReader::adobeSwatchExchange) << withColour(entries, false);
    QTest::newRow("csv") << PaletteWriter::csv(entries).data << Reader(PaletteReader::csv) << entries;
    const QVector<PaletteEntry> quoted = {known(QStringLiteral("say \"hi\""), qRgb(1, 1, 1), 1, 1),
                                          known(QStringLiteral("two\nlines"), qRgb(2, 2, 2), 1, 2),
                                          unknown(QStringLiteral("\r\n")), unknown(QStringLiteral(",")),
                                          known(QStringLiteral(" spaced "), qRgb(3, 3, 3), 0, 0)};
    QTest::newRow("csv, names that need quotes") << PaletteWriter::csv(quoted).data << Reader(PaletteReader::csv)
                                                 << quoted;
    QTest::newRow("gpl, none") << PaletteWriter::gimp({}, QString()).data << Reader(PaletteReader::gimp)
                               << QVector<PaletteEntry>();
    QTest::newRow("ase, none") << PaletteWriter::adobeSwatchExchange({}).data
                               << Reader(PaletteReader::adobeSwatchExchange) << QVector<PaletteEntry>();
    QTest::newRow("csv, none") << PaletteWriter::csv({}).data << Reader(PaletteReader::csv)
                               << QVector<PaletteEntry>();

    // Every 8-bit value of each channel survives the trip through 0..1 floats.
    QVector<PaletteEntry> ramp;
    for (int v = 0; v < 256; ++v)
        ramp.append(known(QString::number(v), qRgb(v, 255 - v, (v * 7) % 256), 0, 0));
    QTest::newRow("ase, every value") << PaletteWriter::adobeSwatchExchange(ramp).data
                                      << Reader(PaletteReader::adobeSwatchExchange) << ramp;
}

void TestColourPalettes::roundTrip()
{
    QFETCH(QByteArray, written);
    QFETCH(Reader, reader);
    QFETCH(QVector<PaletteEntry>, expected);
    const PaletteReader::Result read = reader(written);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.skipped, 0);
    QCOMPARE(read.entries.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(read.entries[i].code, expected[i].code);
        QCOMPARE(read.entries[i].rgb, expected[i].rgb);
        QVERIFY(read.entries[i] == expected[i]);
    }
}

void TestColourPalettes::writersLeaveOutEntriesWithoutColour()
{
    const QVector<PaletteEntry> entries = sampleEntries();
    const int missing = entries.size() - withColour(entries, true).size();
    QVERIFY(missing > 0);
    QCOMPARE(PaletteWriter::gimp(entries, QString()).skipped, missing);
    QCOMPARE(PaletteWriter::adobeSwatchExchange(entries).skipped, missing);
    QCOMPARE(PaletteWriter::css(entries).skipped, missing);
    QCOMPARE(PaletteWriter::libreOffice(entries).skipped, missing);
    QCOMPARE(PaletteWriter::scribus(entries, QString()).skipped, missing);
    // CSV says "no colour" with empty fields and keeps the entry.
    const PaletteWriter::Result csv = PaletteWriter::csv(entries);
    QCOMPARE(csv.skipped, 0);
    QVERIFY(csv.data.contains("\r\nQ1.23.45,,,,,,,,,\r\n"));
}

// The layout GIMP writes: a header, then "%3d %3d %3d\t<name>" per colour.
void TestColourPalettes::gimpLayout()
{
    const QVector<PaletteEntry> entries = sampleEntries();
    const QString text = QString::fromUtf8(PaletteWriter::gimp(entries, QStringLiteral("My\ncolours"), 8).data);
    QVERIFY(text.endsWith(u'\n'));
    const QStringList lines = text.chopped(1).split(u'\n');
    const QVector<PaletteEntry> kept = withColour(entries, true);
    QCOMPARE(lines.size(), 4 + kept.size());
    QCOMPARE(lines[0], QStringLiteral("GIMP Palette"));
    QCOMPARE(lines[1], QStringLiteral("Name: My colours"));
    QCOMPARE(lines[2], QStringLiteral("Columns: 8"));
    QCOMPARE(lines[3], QStringLiteral("#"));
    for (int i = 0; i < kept.size(); ++i) {
        const QRgb rgb = *kept[i].rgb;
        QCOMPARE(lines[4 + i], QString::asprintf("%3d %3d %3d\t", qRed(rgb), qGreen(rgb), qBlue(rgb)) + kept[i].code);
        QCOMPARE(lines[4 + i].count(u'\t'), 1);
    }
    // Without a column count no Columns line: Scribus reads "Columns: 0"
    // as a black colour of that name.
    const QByteArray plain = PaletteWriter::gimp(entries, QStringLiteral("x")).data;
    QVERIFY(plain.startsWith("GIMP Palette\nName: x\n#\n"));
    QVERIFY(!plain.contains("Columns"));
}

// A code as its CSV field, byte for byte: quoted only when a comma, a
// quote or a line break is in it, its quotes doubled, in UTF-8.
void TestColourPalettes::csvField_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("plain") << QStringLiteral("K8.04.43") << QByteArray("K8.04.43");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("space") << QStringLiteral(" a b ") << QByteArray(" a b ");
    QTest::newRow("comma") << QStringLiteral("a,b") << QByteArray("\"a,b\"");
    QTest::newRow("quote") << QStringLiteral("say \"hi\"") << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("carriage return") << QStringLiteral("a\rb") << QByteArray("\"a\rb\"");
    QTest::newRow("line feed last") << QStringLiteral("ab\n") << QByteArray("\"ab\n\"");
    QTest::newRow("comma first") << QStringLiteral(",") << QByteArray("\",\"");
    QTest::newRow("not ASCII") << QStringLiteral("Gr\u00fcn \U0001F3A8") << QByteArray("Gr\xc3\xbcn \xf0\x9f\x8e\xa8");
    QTest::newRow("not ASCII, quoted") << QStringLiteral("\u00e9,\u00e9") << QByteArray("\"\xc3\xa9,\xc3\xa9\"");
}

void TestColourPalettes::csvField()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, field);
    const QByteArray header("code,hex,r,g,b,lab_l,lab_a,lab_b,page,row\r\n");
    QCOMPARE(PaletteWriter::csv({unknown(code)}).data, header + field + ",,,,,,,,,\r\n");
}

// A reader of its own walks the file block by block, by the lengths the
// file states, and finds each colour where the format puts it.
void TestColourPalettes::aseBlocks()
{
    const QVector<PaletteEntry> kept = withColour(sampleEntries(), true);
    const QByteArray data = PaletteWriter::adobeSwatchExchange(sampleEntries()).data;
    const auto u16 = [&](int at) { return qFromBigEndian<quint16>(data.constData() + at); };
    const auto u32 = [&](int at) { return qFromBigEndian<quint32>(data.constData() + at); };
    const auto f32 = [&](int at) {
        const quint32 bits = u32(at);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    };
    QCOMPARE(data.left(4), QByteArray("ASEF"));
    QCOMPARE(u16(4), quint16(1));
    QCOMPARE(u16(6), quint16(0));
    QCOMPARE(u32(8), quint32(kept.size()));
    int at = 12;
    for (const PaletteEntry &entry : kept) {
        QVERIFY(at + 6 <= data.size());
        QCOMPARE(u16(at), quint16(0x0001));
        const int length = int(u32(at + 2));
        const int body = at + 6;
        QVERIFY(body + length <= data.size());
        const int units = u16(body);
        QCOMPARE(units, int(entry.code.size()) + 1);
        QString name;
        for (int i = 0; i < units - 1; ++i)
            name += QChar(u16(body + 2 + 2 * i));
        QCOMPARE(name, entry.code);
        QCOMPARE(u16(body + 2 + 2 * (units - 1)), quint16(0));
        const int model = body + 2 + 2 * units;
        QCOMPARE(data.mid(model, 4), QByteArray("RGB "));
        QCOMPARE(f32(model + 4), float(qRed(*entry.rgb) / 255.0));
        QCOMPARE(f32(model + 8), float(qGreen(*entry.rgb) / 255.0));
        QCOMPARE(f32(model + 12), float(qBlue(*entry.rgb) / 255.0));
        QCOMPARE(u16(model + 16), quint16(2));
        QCOMPARE(model + 18 - body, length);
        at = body + length;
    }
    QCOMPARE(at, data.size());
}

void TestColourPalettes::cssPropertyName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("card code") << "K8.04.43" << "--color-K8-04-43";
    QTest::newRow("letters, digits, - and _ kept") << "a_B-9" << "--color-a_B-9";
    QTest::newRow("space, colon, semicolon, brace") << "a b:c;d}" << "--color-a-b-c-d-";
    QTest::newRow("outside ASCII") << "\u00e9" << "--color--";
}

void TestColourPalettes::cssPropertyName()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(PaletteWriter::cssPropertyName(code), name);
}

// Files as other programs write them: spacing, comments, CRLF, groups,
// grey and CMYK colours, columns in another order.
void TestColourPalettes::readOtherWriters_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QVector<QRgb>>("colours");
    QTest::addColumn<int>("skipped");

    QTest::newRow("gpl, CRLF, comments, blank lines, no name")
        << QByteArray("\xEF\xBB\xBFGIMP Palette\r\nName: x\r\nColumns: 3\r\n# a comment\r\n\r\n"
                      "  0   0   0\tBlack\r\n255 255 255 White snow\r\n12 34 56\r\n")
        << Reader(PaletteReader::gimp) << QStringList{"Black", "White snow", ""}
        << QVector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(12, 34, 56)} << 0;
    QTest::newRow("ase, groups, grey, CMYK")
        << aseFile(6, be16(0xC001) + be32(10) + be16(4) + be16('G') + be16('r') + be16('p') + be16(0)
                          + aseColour("grey", "Gray", {0.5f}) + aseColour("cmyk", "CMYK", {0, 0, 0, 1})
                          + aseColour("lab", "LAB ", {0.5f, 0, 0}) + aseColour("red", "RGB ", {1, 0, 0})
                          + be16(0xC002) + be32(0))
        << Reader(PaletteReader::adobeSwatchExchange) << QStringList{"grey", "cmyk", "lab", "red"}
        << QVector<QRgb>{qRgb(128, 128, 128), PrintColours::fromCmyk(0, 0, 0, 1).value_or(PrintColours::Converted()).rgb,
                         qRgb(119, 119, 119), qRgb(255, 0, 0)}
        << 0;
    QTest::newRow("sbz, RGB, grey, a model not read, title before identifier")
        << zipOf("swatchbook.xml",
                 "<SwatchBook xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><materials>"
                 "<color><metadata><dc:identifier>r1</dc:identifier><dc:title>Red</dc:title></metadata>"
                 "<values model=\"RGB\">1 0 0</values></color>"
                 "<color><metadata><dc:identifier>g1</dc:identifier></metadata>"
                 "<values model=\"GRAY\">0.25</values></color>"
                 "<color><metadata><dc:identifier>h1</dc:identifier></metadata>"
                 "<values model=\"HSV\">0.5 1 1</values></color>"
                 "</materials></SwatchBook>")
        << Reader(PaletteReader::swatchBooker) << QStringList{"Red", "g1"}
        << QVector<QRgb>{qRgb(255, 0, 0), qRgb(191, 191, 191)} << 1;
    QTest::newRow("kpl, groups, RGB and grey")
        << zipOf("colorset.xml",
                 "<?xml version=\"1.0\"?><Colorset name=\"x\" columns=\"4\"><Group name=\"g\">"
                 "<ColorSetEntry name=\"a\" id=\"1\" spot=\"false\" bitdepth=\"U8\"><RGB r=\"1\" g=\"0.5\" b=\"0\" space=\"s\"/>"
                 "<Position row=\"0\" column=\"0\"/></ColorSetEntry></Group>"
                 "<ColorSetEntry name=\"b\" id=\"2\" spot=\"false\" bitdepth=\"U8\"><Gray g=\"0.25\" space=\"s\"/>"
                 "</ColorSetEntry></Colorset>")
        << Reader(PaletteReader::krita) << QStringList{"a", "b"}
        << QVector<QRgb>{qRgb(255, 128, 0), qRgb(64, 64, 64)} << 0;
    // Values as stored: RGB 0-65535, HSB hue 21845 of 65536 (green), CMYK
    // 0 as full ink, Lab x100 with a negative b*, grey 2500 of 10000 black.
    QTest::newRow("aco, versions 1 and 2, every colour space, written by adobe-aco 0.1.1")
        << otherToolsFile("adobe-aco.aco") << Reader(PaletteReader::photoshop)
        << QStringList{"K8.04.43", "Hearty Red", "Green HSB", "Process Cyan", "Lab Plum", "Grey 25"}
        << QVector<QRgb>{qRgb(98, 103, 97), qRgb(212, 30, 42), qRgb(0, 255, 0),
                         PrintColours::fromCmyk(1, 0, 0, 0).value_or(PrintColours::Converted()).rgb,
                         PrintColours::fromLabD50(50, 20, -30).rgb, qRgb(191, 191, 191)}
        << 0;
    // Each swatch as the Palette docker took it from the foreground colour:
    // 8-bit sRGB (a card code), a QColor that Krita keeps as 16-bit linear
    // light (its profile zipped beside it), CMYK marked spot, Lab, grey in
    // a group. RGB and grey come back as the colours Krita was given.
    QTest::newRow("kpl, RGB in a linear profile, CMYK, Lab, a group, written by Krita 5.1.5")
        << otherToolsFile("krita-5.1.5-print-swatches.kpl") << Reader(PaletteReader::krita)
        << QStringList{"K8.04.43", "Brick red", "Process green", "Lab violet", "Dark grey"}
        << QVector<QRgb>{qRgb(98, 103, 97), qRgb(200, 40, 30),
                         PrintColours::fromCmyk(1, 0, 0.600000023841858, 0.200000002980232)
                             .value_or(PrintColours::Converted())
                             .rgb,
                         PrintColours::fromLabD50(60.0000023841858, 29.6459447957198, -40.15953307393).rgb,
                         qRgb(63, 63, 63)}
        << 0;
    // Profiles as profiles.xml lists them: one not in the archive, one that
    // is not a profile, an RGB one named by a grey entry; a space it does
    // not list is Krita's built-in sRGB. None of the three is guessed at.
    const QByteArray linear = ZipArchive(otherToolsFile("krita-5.1.5-print-swatches.kpl"))
                                  .file(QStringLiteral("sRGB-elle-V2-g10.icc"), 1 << 20);
    QVERIFY2(!linear.isEmpty(), "the linear profile of Krita's palette");
    QTest::newRow("kpl, profiles missing, damaged, of another model")
        << zipOfMembers({{"colorset.xml",
                          "<ColorSet name=\"x\" columns=\"4\" version=\"2.0\">"
                          "<ColorSetEntry name=\"gone\" id=\"1\" spot=\"false\" bitdepth=\"U8\">"
                          "<RGB r=\"1\" g=\"0\" b=\"0\" space=\"gone\"/></ColorSetEntry>"
                          "<ColorSetEntry name=\"junk\" id=\"2\" spot=\"false\" bitdepth=\"U8\">"
                          "<RGB r=\"1\" g=\"0\" b=\"0\" space=\"junk\"/></ColorSetEntry>"
                          "<ColorSetEntry name=\"grey\" id=\"3\" spot=\"false\" bitdepth=\"U16\">"
                          "<Gray g=\"0.5\" space=\"linear\"/></ColorSetEntry>"
                          "<ColorSetEntry name=\"built-in\" id=\"4\" spot=\"false\" bitdepth=\"U8\">"
                          "<RGB r=\"0\" g=\"0.2\" b=\"1\" space=\"sRGB built-in\"/></ColorSetEntry></ColorSet>"},
                         {"junk.icc", "not a profile"},
                         {"linear.icc", linear},
                         {"profiles.xml",
                          "<Profiles><Profile name=\"gone\" filename=\"gone.icc\" colorModelId=\"RGBA\"/>"
                          "<Profile name=\"junk\" filename=\"junk.icc\" colorModelId=\"RGBA\"/>"
                          "<Profile name=\"linear\" filename=\"linear.icc\" colorModelId=\"RGBA\"/></Profiles>"}})
        << Reader(PaletteReader::krita) << QStringList{"built-in"} << QVector<QRgb>{qRgb(0, 51, 255)} << 3;
    QTest::newRow("csv, LF, other column order, r g b only, blank field")
        << QByteArray("Page,B,G,R,Code,Note\n2,3,2,1,x1,\"a\nb\"\n,,,,x2,\n")
        << Reader(PaletteReader::csv) << QStringList{"x1", "x2"} << QVector<QRgb>{qRgb(1, 2, 3), 0} << 0;
}

void TestColourPalettes::readOtherWriters()
{
    QFETCH(QByteArray, data);
    QFETCH(Reader, reader);
    QFETCH(QStringList, codes);
    QFETCH(QVector<QRgb>, colours);
    QFETCH(int, skipped);
    const PaletteReader::Result read = reader(data);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.skipped, skipped);
    QCOMPARE(read.entries.size(), codes.size());
    for (int i = 0; i < codes.size(); ++i) {
        QCOMPARE(read.entries[i].code, codes[i]);
        // 0 stands for no colour.
        QCOMPARE(read.entries[i].rgb.value_or(0), colours[i]);
    }
}

void TestColourPalettes::printColours()
{
    // Lab as palettes store it is relative to D50: its white is the card's
    // white too, and a neutral stays neutral.
    const PrintColours::Converted white = PrintColours::fromLabD50(100, 0, 0);
    QCOMPARE(white.rgb, qRgb(255, 255, 255));
    QVERIFY(std::abs(white.lab.l - 100) < 0.01 && std::abs(white.lab.a) < 0.01 && std::abs(white.lab.b) < 0.01);
    const PrintColours::Converted grey = PrintColours::fromLabD50(50, 0, 0);
    QCOMPARE(grey.rgb, qRgb(119, 119, 119));
    QVERIFY(std::abs(grey.lab.a) < 0.01 && std::abs(grey.lab.b) < 0.01);

    // CMYK through the system's profile: paper is light, full black dark,
    // full cyan a blue-green.
    QVERIFY2(!PrintColours::cmykProfilePath().isEmpty(), "Ghostscript's default_cmyk.icc (libgs-common) is missing");
    const auto paper = PrintColours::fromCmyk(0, 0, 0, 0);
    const auto black = PrintColours::fromCmyk(0, 0, 0, 1);
    const auto cyan = PrintColours::fromCmyk(1, 0, 0, 0);
    QVERIFY(paper && black && cyan);
    QVERIFY(paper->lab.l > 90);
    QVERIFY(black->lab.l < 30);
    QVERIFY(cyan->lab.a < -20 && cyan->lab.b < -20);
}

void TestColourPalettes::rejectDamaged_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("mentions");
    const Reader gpl(PaletteReader::gimp);
    const Reader ase(PaletteReader::adobeSwatchExchange);
    const Reader csv(PaletteReader::csv);
    const QByteArray gimpHeader("GIMP Palette\nName: x\n#\n");

    QTest::newRow("gpl, empty") << QByteArray() << gpl << "GIMP Palette";
    QTest::newRow("gpl, other header") << QByteArray("JASC-PAL\n0100\n") << gpl << "GIMP Palette";

    QTest::newRow("ase, empty") << QByteArray() << ase << "ASEF";
    QTest::newRow("ase, other signature") << QByteArray("ASEX\0\1\0\0\0\0\0\0", 12) << ase << "ASEF";
    QTest::newRow("ase, version 2") << QByteArray("ASEF\0\2\0\0\0\0\0\0", 12) << ase << "version 2";
    QTest::newRow("ase, four billion blocks announced") << aseFile(0xffffffffu, aseColour("a", "RGB ", {0, 0, 0}))
                                                        << ase << "block 2 of the 4294967295";
    QTest::newRow("ase, block longer than the file")
        << aseFile(1, be16(1) + be32(0x7fffffff) + QByteArray(20, '\0')) << ase << "more than the 20 bytes";
    QTest::newRow("ase, colour block of no bytes") << aseFile(1, be16(1) + be32(0)) << ase << "no name length";
    QTest::newRow("ase, name longer than its block")
        << aseFile(1, be16(1) + be32(8) + be16(0xffff) + QByteArray(6, 'a')) << ase << "do not fit";
    QTest::newRow("ase, values cut short")
        << aseFile(1, be16(1) + be32(14) + be16(1) + be16(0) + "RGB " + beFloat(1) + be16(2)) << ase
        << "values do not fit";
    QTest::newRow("ase, value not a number") << aseFile(1, aseColour("a", "RGB ", {0, float(qQNaN()), 0})) << ase
                                             << "not between 0 and 1";
    QTest::newRow("ase, value above 1") << aseFile(1, aseColour("a", "RGB ", {0, 2, 0})) << ase
                                        << "not between 0 and 1";

    const Reader sbz(PaletteReader::swatchBooker);
    const Reader kpl(PaletteReader::krita);
    const Reader aco(PaletteReader::photoshop);
    const Reader soc(PaletteReader::libreOffice);
    const Reader scribus(PaletteReader::scribus);
    QTest::newRow("sbz, not a zip archive") << QByteArray("PK but no more") << sbz << "not a zip archive";
    QTest::newRow("sbz, no swatchbook.xml") << zipOf("other.xml", "<a/>") << sbz << "holds no swatchbook.xml";
    QTest::newRow("kpl, member past the end") << zipOf("colorset.xml", "<a/>", 0, 4000, 4000) << kpl
                                              << "runs past the end";
    QTest::newRow("kpl, deflated member damaged") << zipOf("colorset.xml", QByteArray(40, '\xff'), 8, 40, 100) << kpl
                                                  << "does not inflate";
    QTest::newRow("kpl, member inflating past the limit")
        << zipOf("colorset.xml", QByteArray(10, 'a'), 8, 10, 0xfffffff0u) << kpl << "larger than";
    QTest::newRow("sbz, XML cut short") << zipOf("swatchbook.xml", "<SwatchBook><materials><color>") << sbz
                                        << "damaged";
    QTest::newRow("aco, version 3") << be16(3) + be16(0) << aco << "version 3";
    QTest::newRow("aco, fewer colours than announced") << be16(2) + be16(5) << aco << "ends at colour 1 of the 5";
    QTest::newRow("aco, name past the end")
        << be16(2) + be16(1) + be16(0) + be16(1) + be16(2) + be16(3) + be16(0) + be32(1000) << aco << "name does not fit";
    QTest::newRow("aco, version 1 cut short") << be16(1) + be16(3) + be16(0) << aco << "announces 3 colours";
    QTest::newRow("soc, not XML") << QByteArray("<office:color-table><draw:color") << soc << "damaged";
    QTest::newRow("soc, no colour table") << QByteArray("<?xml version=\"1.0\"?><other/>") << soc << "color-table";
    QTest::newRow("Scribus, no colour set") << QByteArray("<?xml version=\"1.0\"?><COLORS/>") << scribus
                                            << "SCRIBUSCOLORS";

    QTest::newRow("csv, empty") << QByteArray() << csv << "empty";
    QTest::newRow("csv, no code column") << QByteArray("name,hex\r\na,#000000\r\n") << csv << "code";
    QTest::newRow("csv, no colour column") << QByteArray("code,r,g\r\na,1,2\r\n") << csv << "hex";
    QTest::newRow("csv, quote not closed") << QByteArray("code,hex\r\n\"a,#000000\r\n") << csv << "not closed";
    QTest::newRow("csv, text after a quote") << QByteArray("code,hex\r\n\"a\"b,#000000\r\n") << csv
                                             << "follows a quoted";
    QTest::newRow("csv, stray quote") << QByteArray("code,hex\r\na\"b,#000000\r\n") << csv << "quote inside";
}

void TestColourPalettes::rejectDamaged()
{
    QFETCH(QByteArray, data);
    QFETCH(Reader, reader);
    QFETCH(QString, mentions);
    const PaletteReader::Result read = reader(data);
    QVERIFY(!read.ok());
    QVERIFY(read.entries.isEmpty());
    QVERIFY2(read.error.contains(mentions), qPrintable(read.error));
}

// A GIMP or CSV line that is no colour is one colour not read, named with
// its line; the colours around it are read.
void TestColourPalettes::badLineNotRead_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Reader>("reader");
    QTest::addColumn<QString>("mentions");
    const Reader gpl(PaletteReader::gimp);
    const Reader csv(PaletteReader::csv);
    const QByteArray gimpHeader("GIMP Palette\nName: x\n#\n0 0 0 first\n");
    const QByteArray gimpEnd("255 255 255 last\n");
    QTest::newRow("gpl, two numbers") << gimpHeader + "1 2\tname\n" + gimpEnd << gpl << "line 5: ";
    QTest::newRow("gpl, number too large") << gimpHeader + "1 2 256 name\n" + gimpEnd << gpl << "\u201c256\u201d is not";
    QTest::newRow("gpl, negative number") << gimpHeader + "1 -2 3 name\n" + gimpEnd << gpl << "\u201c-2\u201d is not";
    QTest::newRow("gpl, a word") << gimpHeader + "red green blue\n" + gimpEnd << gpl << "line 5: ";
    const QByteArray hexHeader("code,hex\r\nfirst,#000000\r\n");
    const QByteArray rgbHeader("code,r,g,b\r\nfirst,0,0,0\r\n");
    QTest::newRow("csv, too few fields") << hexHeader + "b\r\nlast,#ffffff\r\n" << csv << "line 3: it has 1 fields";
    QTest::newRow("csv, bad hex") << hexHeader + "a,#00000g\r\nlast,#ffffff\r\n" << csv
                                  << "line 3 \u201ca\u201d: \u201c#00000g\u201d";
    QTest::newRow("csv, hex with 0x") << hexHeader + "a,0x1234\r\nlast,#ffffff\r\n" << csv << "0x1234";
    QTest::newRow("csv, component too large") << rgbHeader + "a,1,2,256\r\nlast,255,255,255\r\n" << csv
                                              << "line 3 \u201ca\u201d: r, g and b";
    QTest::newRow("csv, part of a colour") << rgbHeader + "a,1,,3\r\nlast,255,255,255\r\n" << csv << "0 to 255";
    QTest::newRow("csv, page a word") << QByteArray("code,hex,page\r\nfirst,#000000,1\r\na,#000000,one\r\n"
                                                    "last,#ffffff,2\r\n")
                                      << csv << "page and row";
}

void TestColourPalettes::badLineNotRead()
{
    QFETCH(QByteArray, data);
    QFETCH(Reader, reader);
    QFETCH(QString, mentions);
    const PaletteReader::Result read = reader(data);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.entries.size(), 2);
    QCOMPARE(read.entries.first().code, QStringLiteral("first"));
    QCOMPARE(read.entries.last().code, QStringLiteral("last"));
    QCOMPARE(read.skipped, 1);
    QVERIFY2(read.unread.first().contains(mentions), qPrintable(read.unread.first()));
}

// Every shorter piece of a good file is found damaged, never read as a
// smaller palette.
void TestColourPalettes::aseCutAtEveryByte()
{
    const QByteArray whole = PaletteWriter::adobeSwatchExchange(sampleEntries()).data;
    QVERIFY(PaletteReader::adobeSwatchExchange(whole).ok());
    for (int size = 0; size < whole.size(); ++size) {
        const PaletteReader::Result read = PaletteReader::adobeSwatchExchange(whole.left(size));
        QVERIFY2(!read.ok(), qPrintable(QStringLiteral("read %1 of %2 bytes").arg(size).arg(whole.size())));
        QVERIFY(read.entries.isEmpty());
    }
}

// Good files with bytes changed at random: each reader either reads them or
// says why not, and never returns part of a palette with an error. Run
// under the sanitizers this also shows that no read passes the input's end.
void TestColourPalettes::damagedBytesNeverCrash()
{
    const QVector<PaletteEntry> entries = sampleEntries();
    const struct
    {
        QByteArray good;
        Reader reader;
    } formats[] = {
        {PaletteWriter::gimp(entries, QStringLiteral("x")).data, PaletteReader::gimp},
        {PaletteWriter::adobeSwatchExchange(entries).data, PaletteReader::adobeSwatchExchange},
        {PaletteWriter::csv(entries).data, PaletteReader::csv},
        {PaletteWriter::css(entries).data, PaletteReader::css},
        {PaletteWriter::libreOffice(entries).data, PaletteReader::libreOffice},
        {PaletteWriter::scribus(entries, QStringLiteral("x")).data, PaletteReader::scribus},
        {zipOf("swatchbook.xml", "<SwatchBook><materials><color><metadata><identifier>a</identifier></metadata>"
                                 "<values model=\"Lab\">50 10 10</values></color><color><values model=\"RGB\">"
                                 "1 0 0</values></color></materials></SwatchBook>"),
         PaletteReader::swatchBooker},
        {zipOf("colorset.xml", "<Colorset><ColorSetEntry name=\"a\"><CMYK c=\"0\" m=\"1\" y=\"0\" k=\"0\"/>"
                               "</ColorSetEntry><ColorSetEntry name=\"b\"><Lab L=\"50\" a=\"1\" b=\"2\"/>"
                               "</ColorSetEntry></Colorset>"),
         PaletteReader::krita},
        {be16(1) + be16(2) + be16(0) + be16(65535) + be16(0) + be16(0) + be16(0) + be16(7) + be16(5000) + be16(100)
             + be16(200) + be16(0) + be16(2) + be16(2) + be16(0) + be16(65535) + be16(0) + be16(0) + be16(0) + be32(2)
             + be16('r') + be16(0) + be16(2) + be16(0) + be16(0) + be16(0) + be16(0) + be32(2) + be16('k') + be16(0),
         PaletteReader::photoshop},
    };
    std::mt19937 random(4181);
    int readable = 0;
    int refused = 0;
    for (const auto &format : formats) {
        for (int trial = 0; trial < 3000; ++trial) {
            QByteArray data = format.good;
            const int changes = 1 + int(random() % 4);
            for (int c = 0; c < changes; ++c)
                data[int(random() % data.size())] = char(random());
            const PaletteReader::Result read = format.reader(data);
            if (read.ok()) {
                ++readable;
            } else {
                ++refused;
                QVERIFY(read.entries.isEmpty());
            }
        }
    }
    // Both outcomes occurred, so both were checked.
    QVERIFY(readable > 0);
    QVERIFY(refused > 0);
}

// Stylesheets read as CSS: one line or many, comments, rules and at-rules,
// shorthands and gradients, var(), and what is not a colour.
void TestColourPalettes::cssStylesheets_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QVector<QRgb>>("colours");
    QTest::addColumn<QStringList>("unread");

    QTest::newRow("one line") << QByteArray(":root{--a:#c8281e;--b:\n#1e50c8}") << QStringList{"--a", "--b"}
                              << QVector<QRgb>{qRgb(200, 40, 30), qRgb(30, 80, 200)} << QStringList();
    QTest::newRow("comments, strings, !important, the program's own names")
        << QByteArray("/* :root{--x:#ffffff} */\n:root {\n  --a: /* here */ #010203 !important;\n"
                      "  --color-K8-04-43: #626761;\n  --label: \"#fff; red\";\n}\n")
        << QStringList{"--a", "K8.04.43"} << QVector<QRgb>{qRgb(1, 2, 3), qRgb(98, 103, 97)} << QStringList();
    QTest::newRow("ordinary declarations, shorthands, gradients, each colour once")
        << QByteArray("a.btn:hover , b { border: 1px solid #c00; background: url(x.svg#red) "
                      "linear-gradient(red, rgb(0 0 255 / 50%), red) }\n"
                      "@media (min-width: 1px) { p { color: Tomato; box-shadow: 0 0 2px #0003 } }\n"
                      "q { color: transparent; background: currentColor; outline-color: Canvas; "
                      "animation-name: red; font-family: Red }")
        << QStringList{"a.btn:hover , b border", "a.btn:hover , b background", "a.btn:hover , b background", "p color",
                       "p box-shadow"}
        << QVector<QRgb>{qRgb(204, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 99, 71), qRgb(0, 0, 0)}
        << QStringList();
    QTest::newRow("var() within the file, values that are no colour")
        << QByteArray(":root{--base:#102030;--alias:var(--base);--blue-rgb:30 102 245;--loop:var(--loop)}"
                      ".x{color:rgb(var(--blue-rgb))}.y{color:var(--missing,#abcdef)}.z{color:var(--nowhere)}")
        << QStringList{"--base", "--alias", ".x color", ".y color"}
        << QVector<QRgb>{qRgb(16, 32, 48), qRgb(16, 32, 48), qRgb(30, 102, 245), qRgb(171, 205, 239)} << QStringList();
    QTest::newRow("colours that cannot be read, each with its line")
        << QByteArray(":root{\n--a:#ggg;\n--b:rgb(1 2);\n--c:color(cmyk 0 0 0 1);\n--d:red;\n--f:lab(50 1e300 0);\n"
                      "--e:rgb(")
        << QStringList{"--d"} << QVector<QRgb>{qRgb(255, 0, 0)}
        << QStringList{"line 2 \u201c--a\u201d", "line 3 \u201c--b\u201d", "line 4 \u201c--c\u201d",
                       "line 6 \u201c--f\u201d: its values lie beyond any colour", "line 7 \u201c--e\u201d: rgb( is not closed"};
    QTest::newRow("references that fan out are cut short")
        << QByteArray(":root{--a:#123456;--b:var(--a) var(--a) var(--a) var(--a);--c:var(--b) var(--b) var(--b) var(--b);"
                      "--d:var(--c) var(--c) var(--c) var(--c);--e:var(--d) var(--d) var(--d) var(--d);"
                      "--f:var(--e) var(--e) var(--e) var(--e);--g:var(--f) var(--f) var(--f) var(--f);"
                      "--h:var(--g) var(--g) var(--g) var(--g)}")
        << QStringList{"--a", "--b", "--c", "--d", "--e", "--f", "--g"} << QVector<QRgb>(7, qRgb(0x12, 0x34, 0x56))
        << QStringList{"\u201c--h\u201d: var() references expand past 64 Ki characters"};

    // Files as others wrote them: GIMP 2.10's "Export as CSS stylesheet"
    // (rgb() in rules named by the colour), a minified sheet of an npm
    // palette package, and one with Display P3 colours after the sRGB ones.
    QTest::newRow("GIMP 2.10.34's CSS export of Tango")
        << otherToolsFile("gimp-2.10.34-tango.css")
        << QStringList{".Butter1 color", ".Butter2 color", ".Butter3 color"}
        << QVector<QRgb>{qRgb(252, 233, 79), qRgb(237, 212, 0), qRgb(196, 160, 0)} << QStringList();
    QTest::newRow("open-props 1.7.23, minified")
        << otherToolsFile("open-props-1.7.23-blue.min.css") << QStringList{"--blue-0", "--blue-1", "--blue-2"}
        << QVector<QRgb>{qRgb(0xe7, 0xf5, 0xff), qRgb(0xd0, 0xeb, 0xff), qRgb(0xa5, 0xd8, 0xff)} << QStringList();
}

void TestColourPalettes::cssStylesheets()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, names);
    QFETCH(QVector<QRgb>, colours);
    QFETCH(QStringList, unread);
    const PaletteReader::Result read = PaletteReader::css(data);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY2(read.entries.size() >= names.size(), qPrintable(QString::number(read.entries.size())));
    // The files of other programs are checked at their start and counted.
    if (QByteArray(QTest::currentDataTag()).contains("GIMP"))
        QCOMPARE(read.entries.size(), 27);
    else if (QByteArray(QTest::currentDataTag()).contains("open-props"))
        QCOMPARE(read.entries.size(), 13);
    else
        QCOMPARE(read.entries.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(read.entries[i].code, names[i]);
        QCOMPARE(read.entries[i].rgb.value_or(0), colours[i]);
    }
    QCOMPARE(read.skipped, unread.size());
    for (int i = 0; i < unread.size(); ++i)
        QVERIFY2(read.unread[i].contains(unread[i]), qPrintable(read.unread[i]));
}

// Stylesheets of random pieces of CSS, unbalanced and cut anywhere: each is
// read (a stylesheet has no structure to refuse), every colour not read is
// named with its line, and under the sanitizers no read passes an end.
void TestColourPalettes::cssTokenSoup()
{
    static const char *const pieces[] = {
        "{", "}", ";", ":", " ", "\n", "--a", "--b", "color", "border", "var(", "var(--a", "var(--b,", "(", ")",
        ",", "/", "#", "#fff", "#12345678", "#ggg", "rgb(", "rgba(", "hsl(", "hwb(", "lab(", "lch(", "oklch(",
        "color(", "display-p3", "xyz", "from", "none", "1", "-2.5e3", ".5", "50%", "90deg", "1turn", "\"", "'",
        "/*", "*/", "\\", "url(", "@media", "@supports", "red", "transparent", "Canvas", "!important", "a.b",
        "\xF0\x9F\x8E\xA8", "calc(", "[", "]"};
    std::mt19937 random(5327);
    int colours = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        QByteArray sheet;
        const int count = 1 + int(random() % 60);
        for (int i = 0; i < count; ++i)
            sheet += pieces[random() % (sizeof pieces / sizeof *pieces)];
        const PaletteReader::Result read = PaletteReader::css(sheet);
        QVERIFY2(read.ok(), sheet.constData());
        QCOMPARE(read.skipped, read.unread.size());
        for (const QString &why : read.unread)
            QVERIFY2(why.startsWith(QLatin1String("line ")), qPrintable(why));
        colours += read.read;
    }
    // Colours were found, so the conversions ran too.
    QVERIFY(colours > 0);
}

// Each form of CSS Color 4, through its own space: sRGB forms to their
// 8-bit value, wide spaces compared with Little CMS's profile of the space.
void TestColourPalettes::cssColourForms_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QRgb>("rgb");
    QTest::addColumn<int>("within");      // levels of rgb
    QTest::addColumn<bool>("hasLab");
    QTest::addColumn<Lab>("lab");         // when hasLab
    QTest::addColumn<bool>("outside");
    QTest::addColumn<double>("alpha");
    const Lab none;
    const auto row = [](const char *value) -> QTestData & { return QTest::newRow(value) << QString::fromLatin1(value); };
    row("#c8281e") << qRgb(200, 40, 30) << 0 << false << none << false << 1.0;
    row("#FC0") << qRgb(255, 204, 0) << 0 << false << none << false << 1.0;
    row("#ff000080") << qRgb(255, 0, 0) << 0 << false << none << false << 128 / 255.0;
    row("rgba(255, 0, 0, 0.5)") << qRgb(255, 0, 0) << 0 << false << none << false << 0.5;
    row("rgb(100% 0% 0% / 50%)") << qRgb(255, 0, 0) << 0 << false << none << false << 0.5;
    row("rgb(none 128 0)") << qRgb(0, 128, 0) << 0 << false << none << false << 1.0;
    row("rgb(300, -5, 0)") << qRgb(255, 0, 0) << 0 << false << none << false << 1.0;
    row("hsl(120, 100%, 25%)") << qRgb(0, 128, 0) << 0 << false << none << false << 1.0;
    row("hsla(0.5turn 100 50 / .25)") << qRgb(0, 255, 255) << 0 << false << none << false << 0.25;
    row("hwb(0 0% 0%)") << qRgb(255, 0, 0) << 0 << false << none << false << 1.0;
    row("hwb(90 60% 60%)") << qRgb(128, 128, 128) << 0 << false << none << false << 1.0;
    row("color(srgb 1 0.5 0)") << qRgb(255, 128, 0) << 0 << false << none << false << 1.0;
    row("color(srgb-linear 0.5 0.5 0.5)") << qRgb(188, 188, 188) << 0 << false << none << false << 1.0;
    // lab() and lch() are D50, adapted exactly as a palette's Lab.
    row("lab(54.29 80.82 69.88)") << qRgb(255, 0, 0) << 1 << true << PrintColours::fromLabD50(54.29, 80.82, 69.88).lab
                                  << false << 1.0;
    row("lch(54.29% 106.84 40.85deg)") << qRgb(255, 0, 0) << 1 << true
                                       << PrintColours::fromLabD50(54.29, 106.84 * std::cos(40.85 * M_PI / 180),
                                                                   106.84 * std::sin(40.85 * M_PI / 180)).lab
                                       << false << 1.0;
    // CSS Color 4's own figures for sRGB red.
    row("oklch(62.8% 0.2577 29.23)") << qRgb(255, 0, 0) << 1 << true << ColourSpace::labFromRgb(qRgb(255, 0, 0)) << false
                                     << 1.0;
    row("oklab(0.628 0.2249 0.1258)") << qRgb(255, 0, 0) << 1 << true << ColourSpace::labFromRgb(qRgb(255, 0, 0))
                                      << false << 1.0;
    row("color(xyz-d65 0.95047 1 1.08883)") << qRgb(255, 255, 255) << 0 << true << Lab{100, 0, 0} << false << 1.0;
    row("color(xyz-d50 0.9642 1 0.8251)") << qRgb(255, 255, 255) << 0 << true << Lab{100, 0, 0} << false << 1.0;
    row("color(prophoto-rgb 0.5 0.5 0.5)") << qRgb(0, 0, 0) << 255 << true
                                           << PrintColours::fromLabD50(ColourSpace::labFromRgb(qRgb(0, 0, 0)).l, 0, 0).lab
                                           << false << 1.0;
    row("color(display-p3 0.5 0.4 0.3)") << qRgb(0, 0, 0) << 255 << true << displayP3(0.5, 0.4, 0.3) << false << 1.0;
    row("color(display-p3 1 0 0)") << qRgb(255, 0, 0) << 0 << true << displayP3(1, 0, 0) << true << 1.0;
    row("color(a98-rgb 0.2 0.6 0.4)") << qRgb(0, 0, 0) << 255 << true << adobeRgb(0.2, 0.6, 0.4) << true << 1.0;
    row("color(rec2020 0 1 0)") << qRgb(0, 255, 0) << 0 << true << Lab{} << true << 1.0;
}

void TestColourPalettes::cssColourForms()
{
    QFETCH(QString, value);
    QFETCH(QRgb, rgb);
    QFETCH(int, within);
    QFETCH(bool, hasLab);
    QFETCH(Lab, lab);
    QFETCH(bool, outside);
    QFETCH(double, alpha);
    const PaletteReader::Result read = PaletteReader::css((QStringLiteral(".a{color:") + value + u'}').toUtf8());
    QCOMPARE(read.entries.size(), 1);
    const PaletteEntry &e = read.entries.first();
    QVERIFY2(std::abs(qRed(*e.rgb) - qRed(rgb)) <= within && std::abs(qGreen(*e.rgb) - qGreen(rgb)) <= within
                 && std::abs(qBlue(*e.rgb) - qBlue(rgb)) <= within,
             qPrintable(QString::number(*e.rgb & 0xffffff, 16)));
    QCOMPARE(e.labKnown, hasLab);
    // The prophoto grey is neutral whatever its lightness; rec2020's green
    // is only known to lie outside sRGB.
    if (hasLab && value.contains(QLatin1String("prophoto"))) {
        QVERIFY2(std::abs(e.lab.a) < 0.01 && std::abs(e.lab.b) < 0.01, qPrintable(QString::number(e.lab.a)));
    } else if (hasLab && lab != Lab{}) {
        QVERIFY2(ColourSpace::deltaE00(e.lab, lab) < 0.05,
                 qPrintable(QStringLiteral("%1 %2 %3 against %4 %5 %6").arg(e.lab.l).arg(e.lab.a).arg(e.lab.b)
                                .arg(lab.l).arg(lab.a).arg(lab.b)));
    }
    QCOMPARE(read.outsideSrgb, outside ? 1 : 0);
    QCOMPARE(read.translucent, alpha < 1 ? 1 : 0);
}

// A palette that is empty by its own word, told from one nothing was found in.
void TestColourPalettes::emptyByItsOwnWord_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("saysEmpty");
    using Id = PaletteFormat::Id;
    QTest::newRow("gpl listing none") << int(Id::Gimp) << QByteArray("GIMP Palette\nName: x\n") << true;
    QTest::newRow("ase, groups only") << int(Id::AdobeSwatchExchange)
                                      << aseFile(2, be16(0xC001) + be32(4) + be16(1) + be16(0) + be16(0xC002) + be32(0))
                                      << true;
    QTest::newRow("kpl listing none") << int(Id::Krita) << zipOf("colorset.xml", "<ColorSet name=\"x\"/>") << true;
    QTest::newRow("aco of none") << int(Id::Photoshop) << be16(1) + be16(0) << true;
    QTest::newRow("kpl, a colour not read") << int(Id::Krita)
                                            << zipOf("colorset.xml", "<ColorSet><ColorSetEntry name=\"a\"><XYZ/>"
                                                                     "</ColorSetEntry></ColorSet>")
                                            << false;
    QTest::newRow("sbz listing none") << int(Id::SwatchBooker) << zipOf("swatchbook.xml", "<SwatchBook/>") << false;
    QTest::newRow("css of no colour") << int(Id::Css) << QByteArray(":root{--gap:1px}") << false;
}

void TestColourPalettes::emptyByItsOwnWord()
{
    QFETCH(int, format);
    QFETCH(QByteArray, data);
    QFETCH(bool, saysEmpty);
    const PaletteReader::Result read = PaletteReader::read(PaletteFormat::Id(format), data);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QVERIFY(read.entries.isEmpty());
    QCOMPARE(read.saysEmpty, saysEmpty);
}

void TestColourPalettes::reportTextCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString sixty(60, u'a');
    QTest::newRow("short") << "K8.04.43" << "K8.04.43";
    QTest::newRow("sixty") << sixty << sixty;
    QTest::newRow("sixty-one") << sixty + u'b' << sixty + u'\u2026';
    // 59 characters, then one of two UTF-16 units: kept whole.
    QTest::newRow("a pair at the cut") << QString(59, u'a') + QStringLiteral("\U0001F3A8\U0001F3A8")
                                       << QString(59, u'a') + QStringLiteral("\U0001F3A8\u2026");
    QTest::newRow("pairs count once") << QStringLiteral("\U0001F3A8").repeated(60) << QStringLiteral("\U0001F3A8").repeated(60);
    QTest::newRow("sixty million") << QString(60 * 1000 * 1000, u'x') << QString(60, u'x') + u'\u2026';
}

void TestColourPalettes::reportTextCut()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(ReportText::cut(text), shown);
}

// 2,000 colour spaces that name one 60 MiB profile (a file of a few
// hundred KiB): the member is inflated once, not once a space.
void TestColourPalettes::kritaSpacesOfOneLargeProfile()
{
    QByteArray colours = "<ColorSet name=\"bomb\">";
    QByteArray profiles = "<Profiles>";
    for (int i = 0; i < 2000; ++i) {
        colours += QStringLiteral("<ColorSetEntry name=\"c%1\"><RGB r=\"1\" g=\"0\" b=\"0\" space=\"s%1\"/>"
                                  "</ColorSetEntry>").arg(i).toUtf8();
        profiles += QStringLiteral("<Profile name=\"s%1\" filename=\"big.icc\"/>").arg(i).toUtf8();
    }
    const QByteArray large(60 * 1024 * 1024, '\0');
    const QByteArray bomb = zipOfMembers({{"colorset.xml", colours + "</ColorSet>"},
                                          {"profiles.xml", profiles + "</Profiles>"},
                                          {"big.icc", large}},
                                         {"colorset.xml", "profiles.xml", "big.icc"});
    QVERIFY2(bomb.size() < 1024 * 1024, qPrintable(QString::number(bomb.size())));
    const PaletteReader::Result read = PaletteReader::krita(bomb);
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.entries.size(), 0);
    QCOMPARE(read.skipped, 2000);
    QVERIFY2(read.unread.first().contains(QStringLiteral("profile \u201cs0\u201d cannot be read")), qPrintable(read.unread.first()));

    ZipArchive zip(bomb);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(zip.file(QStringLiteral("big.icc"), PaletteFile::maxSize).size(), large.size());
    QCOMPARE(zip.inflatedBytes(), qint64(large.size()));
}

// Members that each fit but together inflate past 64 MiB: the one that
// passes the limit is refused.
void TestColourPalettes::archiveInflatesAtMostTheLimit()
{
    const QByteArray forty(40 * 1024 * 1024, 'a');
    ZipArchive zip(zipOfMembers({{"a", forty}, {"b", forty}}, {"a", "b"}));
    QCOMPARE(zip.file(QStringLiteral("a"), PaletteFile::maxSize).size(), forty.size());
    QVERIFY(zip.file(QStringLiteral("b"), PaletteFile::maxSize).isEmpty());
    QVERIFY2(zip.error().contains(QLatin1String("more than 64 MiB together")), qPrintable(zip.error()));
    QCOMPARE(zip.inflatedBytes(), qint64(forty.size()));
}

// A file's format by its bytes first, its name second; the name says what
// the bytes do not.
void TestColourPalettes::formatByContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("format");  // -1: none
    QTest::addColumn<bool>("byContent");
    using Id = PaletteFormat::Id;
    const QVector<PaletteEntry> entries = withColour(sampleEntries(), false);
    const QByteArray gpl = PaletteWriter::gimp(entries, QStringLiteral("x")).data;
    const QByteArray ase = PaletteWriter::adobeSwatchExchange(entries).data;
    const QByteArray kpl = otherToolsFile("krita-5.1.5-print-swatches.kpl");
    const QByteArray sbz = zipOf("swatchbook.xml", "<SwatchBook/>");
    QTest::newRow("GIMP as .txt") << "a.txt" << gpl << int(Id::Gimp) << true;
    QTest::newRow("GIMP with a BOM as .csv") << "a.csv" << QByteArray("\xEF\xBB\xBF") + gpl << int(Id::Gimp) << true;
    QTest::newRow("ASE as .aco") << "a.aco" << ase << int(Id::AdobeSwatchExchange) << true;
    QTest::newRow("ASE as .ase") << "a.ase" << ase << int(Id::AdobeSwatchExchange) << false;
    QTest::newRow(".aco as .ase") << "a.ase" << otherToolsFile("adobe-aco.aco") << int(Id::Photoshop) << true;
    QTest::newRow(".kpl as .zip") << "a.zip" << kpl << int(Id::Krita) << true;
    QTest::newRow(".sbz as .kpl") << "a.kpl" << sbz << int(Id::SwatchBooker) << true;
    QTest::newRow("LibreOffice table as .xml")
        << "a.xml" << PaletteWriter::libreOffice(entries).data << int(Id::LibreOffice) << true;
    QTest::newRow("Scribus set as .soc")
        << "a.soc" << PaletteWriter::scribus(entries, QStringLiteral("x")).data << int(Id::Scribus) << true;
    QTest::newRow("CSV by its suffix") << "a.csv" << PaletteWriter::csv(entries).data << int(Id::Csv) << false;
    QTest::newRow("CSS by its suffix") << "a.css" << QByteArray(":root{--a:#000}") << int(Id::Css) << false;
    QTest::newRow("a zip of neither, by its suffix") << "a.kpl" << zipOf("other.xml", "<a/>") << int(Id::Krita) << false;
    QTest::newRow("text of no format, no suffix read") << "a.txt" << QByteArray("hello") << -1 << false;
}

void TestColourPalettes::formatByContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(int, format);
    QFETCH(bool, byContent);
    const PaletteFormat::Detection found = PaletteFormat::detect(name, data);
    QCOMPARE(found.format ? int(found.format->id) : -1, format);
    QCOMPARE(found.byContent, byContent);
    QCOMPARE(found.note(name).isEmpty(), !byContent);
    // What the bytes show is read as that format.
    if (byContent) {
        const PaletteReader::Result read = PaletteReader::read(found.format->id, data);
        QVERIFY2(read.ok(), qPrintable(read.error));
    }
}

// Cancel is looked at between colours: set as the 100th colour is handed
// over, no further colour is read, and the reading says it was cancelled.
void TestColourPalettes::readingStopsAtCancel_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("data");
    QVector<PaletteEntry> many;
    for (int i = 0; i < 5000; ++i)
        many.append(known(QStringLiteral("c%1").arg(i), qRgb(i % 256, (i * 7) % 256, (i * 13) % 256), 0, 0));
    QByteArray kpl = "<ColorSet>";
    for (int i = 0; i < 5000; ++i)
        kpl += "<ColorSetEntry name=\"c\"><RGB r=\"1\" g=\"0\" b=\"0\"/></ColorSetEntry>";
    using Id = PaletteFormat::Id;
    QTest::newRow("gpl") << int(Id::Gimp) << PaletteWriter::gimp(many, QStringLiteral("x")).data;
    QTest::newRow("ase") << int(Id::AdobeSwatchExchange) << PaletteWriter::adobeSwatchExchange(many).data;
    QTest::newRow("csv") << int(Id::Csv) << PaletteWriter::csv(many).data;
    QTest::newRow("css") << int(Id::Css) << PaletteWriter::css(many).data;
    QTest::newRow("soc") << int(Id::LibreOffice) << PaletteWriter::libreOffice(many).data;
    QTest::newRow("Scribus") << int(Id::Scribus) << PaletteWriter::scribus(many, QStringLiteral("x")).data;
    QTest::newRow("kpl") << int(Id::Krita) << zipOf("colorset.xml", kpl + "</ColorSet>");
}

void TestColourPalettes::readingStopsAtCancel()
{
    QFETCH(int, format);
    QFETCH(QByteArray, data);
    QVERIFY(PaletteReader::read(PaletteFormat::Id(format), data).entries.size() == 5000);
    std::atomic_bool cancel{false};
    int taken = 0;
    PaletteReader::Reading reading;
    reading.cancel = &cancel;
    reading.take = [&](const PaletteEntry &) {
        if (++taken == 100)
            cancel = true;
    };
    const PaletteReader::Result read = PaletteReader::read(PaletteFormat::Id(format), data, reading);
    QCOMPARE(taken, 100);
    QVERIFY(read.cancelled);
    QVERIFY(!read.ok());
    QVERIFY(read.entries.isEmpty());
}

QTEST_GUILESS_MAIN(TestColourPalettes)
#include "test_colour_palettes.moc"
