// SPDX-License-Identifier: MIT
// The card's data against the palette that leads into it: a click on a
// sector opens the page the sector table names, and that page must show a
// colour close to the one the sector is painted in, not a page of greys.
// Colours are measured in CIELAB (D65 white) through Little CMS and
// compared with CIEDE2000. Also checks that every hue colour sits in its
// own sector's pages and that each page runs from light to dark.
#include <QFile>
#include <QHash>
#include <QMap>
#include <QTest>
#include <QXmlStreamReader>

#include <lcms2.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const QString sourceDir = QStringLiteral(TESSELLE_SOURCE_DIR);

// The page each of the palette's 24 hue sectors opens, as the program's
// palette navigator has it.
const int sectorPages[24] = {109, 90,  70,  50,  35,  22,  10,  5,   200, 197, 194, 190,
                             186, 179, 172, 165, 157, 151, 145, 140, 139, 129, 122, 115};

// How far the opened page's nearest colour may lie from the sector's paint.
constexpr double maxDeltaE = 10.0;

struct Swatch
{
    int page = 0;
    int row = 0;
    QString code;
    cmsCIELab lab{};
};

} // namespace

class CardDataTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void openedPageMatchesSector_data();
    void openedPageMatchesSector();
    void codesStayInTheirSectorsPages();
    void lightnessFallsDownEveryPage();

private:
    cmsCIELab toLab(int r, int g, int b) const;
    // First and last page of a sector: from its table entry up to the page
    // before the next higher entry.
    QPair<int, int> sectorRange(int sector) const;

    cmsHTRANSFORM m_toLab = nullptr;
    QList<Swatch> m_swatches;
    QMap<int, QList<Swatch>> m_pages;  // by page, rows in row order
    QHash<int, cmsCIELab> m_sectorFill; // by sector number
    int m_lastPage = 0;
};

cmsCIELab CardDataTest::toLab(int r, int g, int b) const
{
    const cmsUInt8Number rgb[3] = {cmsUInt8Number(r), cmsUInt8Number(g), cmsUInt8Number(b)};
    cmsCIELab lab;
    cmsDoTransform(m_toLab, rgb, &lab, 1);
    return lab;
}

void CardDataTest::initTestCase()
{
    const cmsCIExyY d65 = {0.3127, 0.3290, 1.0};
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(&d65);
    QVERIFY(srgb && lab);
    m_toLab = cmsCreateTransform(srgb, TYPE_RGB_8, lab, TYPE_Lab_DBL,
                                 INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsCloseProfile(srgb);
    cmsCloseProfile(lab);
    QVERIFY(m_toLab);

    QFile csv(sourceDir + QStringLiteral("/data/card5327.csv"));
    QVERIFY2(csv.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(csv.fileName()));
    const QStringList header = QString::fromUtf8(csv.readLine()).trimmed().split(u',');
    QCOMPARE(header, QStringList({"Sn", "Page", "Row", "Code", "R", "G", "B"}));
    while (!csv.atEnd()) {
        const QStringList f = QString::fromUtf8(csv.readLine()).trimmed().split(u',');
        QCOMPARE(f.size(), 7);
        Swatch s;
        s.page = f[1].toInt();
        s.row = f[2].toInt();
        s.code = f[3];
        s.lab = toLab(f[4].toInt(), f[5].toInt(), f[6].toInt());
        m_swatches.append(s);
        m_pages[s.page].append(s);
        m_lastPage = std::max(m_lastPage, s.page);
    }
    QVERIFY(!m_swatches.isEmpty());
    for (QList<Swatch> &rows : m_pages)
        std::sort(rows.begin(), rows.end(),
                  [](const Swatch &a, const Swatch &b) { return a.row < b.row; });

    QFile svg(sourceDir + QStringLiteral("/swf/kor.svg"));
    QVERIFY2(svg.open(QIODevice::ReadOnly), qPrintable(svg.fileName()));
    QXmlStreamReader xml(&svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView id = xml.attributes().value(QLatin1String("id"));
        if (!id.startsWith(u"sector"))
            continue;
        const QStringView fill = xml.attributes().value(QLatin1String("fill"));
        QVERIFY2(fill.size() == 7 && fill.startsWith(u'#'), qPrintable(fill.toString()));
        bool ok = false;
        const uint rgb = fill.mid(1).toUInt(&ok, 16);
        QVERIFY(ok);
        m_sectorFill.insert(id.mid(6).toInt(), toLab(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
}

void CardDataTest::cleanupTestCase()
{
    if (m_toLab)
        cmsDeleteTransform(m_toLab);
}

QPair<int, int> CardDataTest::sectorRange(int sector) const
{
    const int first = sectorPages[sector - 1];
    int next = m_lastPage + 1;
    for (int page : sectorPages) {
        if (page > first)
            next = std::min(next, page);
    }
    return {first, next - 1};
}

void CardDataTest::openedPageMatchesSector_data()
{
    QTest::addColumn<int>("sector");
    for (int sector = 1; sector <= 24; ++sector)
        QTest::addRow("sector %d", sector) << sector;
}

void CardDataTest::openedPageMatchesSector()
{
    QFETCH(int, sector);
    QVERIFY2(m_sectorFill.contains(sector), "the palette movie does not paint this sector");
    const cmsCIELab fill = m_sectorFill.value(sector);
    const int page = sectorPages[sector - 1];
    const QList<Swatch> rows = m_pages.value(page);
    QVERIFY2(!rows.isEmpty(), qPrintable(QStringLiteral("page %1 is empty").arg(page)));

    double best = 1e9;
    QString bestCode;
    for (const Swatch &s : rows) {
        const double d = cmsCIE2000DeltaE(&fill, &s.lab, 1, 1, 1);
        if (d < best) {
            best = d;
            bestCode = s.code;
        }
    }
    QVERIFY2(best <= maxDeltaE,
             qPrintable(QStringLiteral("page %1: nearest colour %2 is dE00 %3 from the sector's paint")
                            .arg(page)
                            .arg(bestCode)
                            .arg(best, 0, 'f', 2)));
}

void CardDataTest::codesStayInTheirSectorsPages()
{
    const int firstHuePage = *std::min_element(std::begin(sectorPages), std::end(sectorPages));
    for (const Swatch &s : std::as_const(m_swatches)) {
        const QChar letter = s.code.at(0);
        const QString where = QStringLiteral("%1 on page %2").arg(s.code).arg(s.page);
        if (letter == u'Z') {
            QVERIFY2(s.page >= 1 && s.page < firstHuePage, qPrintable(where));
            continue;
        }
        const int sector = letter.unicode() - 'A' + 1;
        QVERIFY2(sector >= 1 && sector <= 24, qPrintable(where));
        const auto [first, last] = sectorRange(sector);
        QVERIFY2(s.page >= first && s.page <= last,
                 qPrintable(where + QStringLiteral(", sector %1 owns %2-%3")
                                        .arg(sector).arg(first).arg(last)));
    }
}

void CardDataTest::lightnessFallsDownEveryPage()
{
    for (auto it = m_pages.cbegin(); it != m_pages.cend(); ++it) {
        const QList<Swatch> &rows = it.value();
        for (qsizetype i = 1; i < rows.size(); ++i) {
            QVERIFY2(rows[i].lab.L < rows[i - 1].lab.L,
                     qPrintable(QStringLiteral("page %1: row %2 (%3, L* %4) is not darker than row %5 (%6, L* %7)")
                                    .arg(it.key())
                                    .arg(rows[i].row).arg(rows[i].code).arg(rows[i].lab.L, 0, 'f', 1)
                                    .arg(rows[i - 1].row).arg(rows[i - 1].code)
                                    .arg(rows[i - 1].lab.L, 0, 'f', 1)));
        }
    }
}

QTEST_APPLESS_MAIN(CardDataTest)
#include "test_carddata.moc"
