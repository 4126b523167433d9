// SPDX-License-Identifier: MIT
// The colour layer: sRGB to L*a*b* (D65), CIEDE2000, the nearest card
// colours against a scan of every colour, and colours as the user types them.
#include "ColourFixtures.h"

#include "colour/ColourInput.h"
#include "colour/ColourSpace.h"
#include "colour/ColourWords.h"
#include "colour/NearestColours.h"

#include <QtTest>

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>

Q_DECLARE_METATYPE(ColourInput::Kind)

namespace {

// Every colour measured, ordered by difference and then serial number: what
// the search must return. Measured with Little CMS directly, the query first.
QVector<NearestColours::Match> bruteForce(const QVector<CardColour> &card, const Lab &query)
{
    struct Ranked
    {
        double deltaE;
        int sn;
        int index;
    };
    std::vector<Ranked> all;
    all.reserve(card.size());
    const cmsCIELab q = {query.l, query.a, query.b};
    for (int i = 0; i < card.size(); ++i) {
        const cmsCIELab c = {card[i].lab.l, card[i].lab.a, card[i].lab.b};
        all.push_back({cmsCIE2000DeltaE(&q, &c, 1, 1, 1), card[i].sn, i});
    }
    std::sort(all.begin(), all.end(), [](const Ranked &x, const Ranked &y) {
        return x.deltaE < y.deltaE || (x.deltaE == y.deltaE && x.sn < y.sn);
    });
    QVector<NearestColours::Match> matches;
    for (const Ranked &r : all)
        matches.append({r.index, r.deltaE});
    return matches;
}

// The search and the scan agree: the same colours in the same order, with
// the same differences. A failure names the query and the first difference.
void compareWithBruteForce(const NearestColours &search, const QVector<CardColour> &card,
                           const QVector<Lab> &queries, const QVector<int> &counts)
{
    for (const Lab &query : queries) {
        const QVector<NearestColours::Match> all = bruteForce(card, query);
        for (int count : counts) {
            const QVector<NearestColours::Match> found = search.nearest(query, count);
            const int expected = std::min(count, int(all.size()));
            QVERIFY2(found.size() == expected, qPrintable(QStringLiteral("%1 found for count %2")
                                                              .arg(found.size()).arg(count)));
            for (int i = 0; i < expected; ++i) {
                if (found[i].index != all[i].index || found[i].deltaE != all[i].deltaE) {
                    QFAIL(qPrintable(QStringLiteral("query Lab(%1, %2, %3), count %4, place %5: search sn %6 dE %7, "
                                                    "scan sn %8 dE %9")
                                         .arg(query.l).arg(query.a).arg(query.b).arg(count).arg(i)
                                         .arg(card[found[i].index].sn).arg(found[i].deltaE, 0, 'g', 17)
                                         .arg(card[all[i].index].sn).arg(all[i].deltaE, 0, 'g', 17)));
                }
            }
        }
    }
}

QVector<Lab> randomSrgbQueries(int count, quint32 seed)
{
    std::mt19937 random(seed);
    QVector<Lab> queries;
    for (int i = 0; i < count; ++i)
        queries.append(ColourSpace::labFromRgb(ColourFixtures::randomRgb(random)));
    return queries;
}

} // namespace

class TestColour : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void deltaE00_data();
    void deltaE00();
    void labOfKnownColours_data();
    void labOfKnownColours();
    void cardCodesCarryLightnessAndChroma();

    void everyCardColourIsItsOwnNearest();
    void nearestMatchesBruteForce_data();
    void nearestMatchesBruteForce();
    void nearestOnLargeGeneratedCard();
    void tiesGoToTheLowerSerialNumber();
    void nearestEdgeCases();

    void parseColourInput_data();
    void parseColourInput();
    void rejectColourInput_data();
    void rejectColourInput();

    void colourWordsOfLch_data();
    void colourWordsOfLch();
    void colourWordsOfSrgb_data();
    void colourWordsOfSrgb();

private:
    QVector<CardColour> m_card;
};

void TestColour::initTestCase()
{
    m_card = ColourFixtures::shippedCard();
    QVERIFY(m_card.size() > 1000);
}

// The 34 pairs published by Sharma, Wu and Dalal (2005) with their
// CIEDE2000 differences to four decimals.
void TestColour::deltaE00_data()
{
    QTest::addColumn<double>("l1");
    QTest::addColumn<double>("a1");
    QTest::addColumn<double>("b1");
    QTest::addColumn<double>("l2");
    QTest::addColumn<double>("a2");
    QTest::addColumn<double>("b2");
    QTest::addColumn<double>("expected");
    const double pairs[34][7] = {
        {50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485, 2.0425},
        {50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485, 2.8615},
        {50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485, 3.4412},
        {50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000, 2.3669},
        {50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000, 2.3669},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011, 7.2195},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012, 7.2195},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900, 4.7461},
        {50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000, 4.3065},
        {50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000, 27.1492},
        {50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000, 22.8977},
        {50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000, 31.9030},
        {50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000, 19.4535},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350, 1.0000},
        {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
        {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.2630},
        {61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620, 1.8731},
        {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
        {22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619, 2.0373},
        {36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
        {90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447, 1.4441},
        {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
        {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
        {2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514, 0.9082},
    };
    for (int i = 0; i < 34; ++i) {
        const double *p = pairs[i];
        QTest::addRow("pair %d", i + 1) << p[0] << p[1] << p[2] << p[3] << p[4] << p[5] << p[6];
    }
}

void TestColour::deltaE00()
{
    QFETCH(double, l1);
    QFETCH(double, a1);
    QFETCH(double, b1);
    QFETCH(double, l2);
    QFETCH(double, a2);
    QFETCH(double, b2);
    QFETCH(double, expected);
    const Lab first{l1, a1, b1};
    const Lab second{l2, a2, b2};
    const double forward = ColourSpace::deltaE00(first, second);
    const double backward = ColourSpace::deltaE00(second, first);
    QVERIFY2(std::abs(forward - expected) < 0.5e-4, qPrintable(QString::number(forward, 'f', 6)));
    QVERIFY2(std::abs(backward - expected) < 0.5e-4, qPrintable(QString::number(backward, 'f', 6)));
    QCOMPARE(ColourSpace::deltaE00(first, first), 0.0);
}

// White and black by definition; the primaries as published for sRGB with
// the D65 white (under D50 red would be L* 54.29, a* 80.80, b* 69.89).
void TestColour::labOfKnownColours_data()
{
    QTest::addColumn<QRgb>("rgb");
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("white") << qRgb(255, 255, 255) << 100.0 << 0.0 << 0.0 << 1e-3;
    QTest::newRow("black") << qRgb(0, 0, 0) << 0.0 << 0.0 << 0.0 << 1e-3;
    QTest::newRow("red") << qRgb(255, 0, 0) << 53.2408 << 80.0925 << 67.2032 << 0.05;
    QTest::newRow("green") << qRgb(0, 255, 0) << 87.7347 << -86.1827 << 83.1793 << 0.05;
    QTest::newRow("blue") << qRgb(0, 0, 255) << 32.2970 << 79.1875 << -107.8602 << 0.05;
}

void TestColour::labOfKnownColours()
{
    QFETCH(QRgb, rgb);
    QFETCH(double, l);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, tolerance);
    const Lab lab = ColourSpace::labFromRgb(rgb);
    const QString got = QStringLiteral("Lab(%1, %2, %3)").arg(lab.l).arg(lab.a).arg(lab.b);
    QVERIFY2(std::abs(lab.l - l) < tolerance, qPrintable(got));
    QVERIFY2(std::abs(lab.a - a) < tolerance, qPrintable(got));
    QVERIFY2(std::abs(lab.b - b) < tolerance, qPrintable(got));
}

// A card code's second group is the colour's C* and its third its L*, both
// under D65 and rounded: every colour's computed values are within 0.75.
void TestColour::cardCodesCarryLightnessAndChroma()
{
    for (const CardColour &colour : qAsConst(m_card)) {
        const QStringList groups = colour.code.split(u'.');
        QCOMPARE(groups.size(), 3);
        const double codeChroma = groups[1].toDouble();
        const double codeLightness = groups[2].toDouble();
        const QString what = QStringLiteral("%1: L* %2, C* %3").arg(colour.code).arg(colour.lab.l).arg(colour.lab.chroma());
        QVERIFY2(std::abs(colour.lab.l - codeLightness) <= 0.75, qPrintable(what));
        QVERIFY2(std::abs(colour.lab.chroma() - codeChroma) <= 0.75, qPrintable(what));
    }
}

// Some sRGB values are printed twice on the card: the lower serial number
// is the nearest of the two.
void TestColour::everyCardColourIsItsOwnNearest()
{
    std::map<QRgb, int> firstSn;
    for (const CardColour &colour : qAsConst(m_card)) {
        auto [it, inserted] = firstSn.emplace(colour.rgb, colour.sn);
        if (!inserted)
            it->second = std::min(it->second, colour.sn);
    }
    QVERIFY2(int(firstSn.size()) < m_card.size(), "the card has no repeated colour to try the tie on");

    const NearestColours search(m_card);
    for (const CardColour &colour : qAsConst(m_card)) {
        const QVector<NearestColours::Match> found = search.nearest(colour.lab, 1);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].deltaE, 0.0);
        QCOMPARE(search.colours()[found[0].index].sn, firstSn.at(colour.rgb));
    }
}

void TestColour::nearestMatchesBruteForce_data()
{
    QTest::addColumn<QVector<Lab>>("queries");
    QTest::addColumn<QVector<int>>("counts");

    QTest::newRow("random sRGB colours") << randomSrgbQueries(250, 5327) << QVector<int>{1, 2, 5, 10, 40};

    // Beyond sRGB and beyond L* 0 to 100, where SL is larger.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> lightness(-30, 130);
    std::uniform_real_distribution<double> opponent(-160, 160);
    QVector<Lab> wide;
    for (int i = 0; i < 60; ++i)
        wide.append({lightness(random), opponent(random), opponent(random)});
    QTest::newRow("any Lab") << wide << QVector<int>{1, 7, 25};

    // Next to card colours, where the differences are smallest and nearly equal.
    const QVector<CardColour> card = ColourFixtures::shippedCard();
    std::uniform_real_distribution<double> nudge(-1e-3, 1e-3);
    QVector<Lab> near;
    for (int i = 0; i < card.size(); i += 23)
        near.append({card[i].lab.l + nudge(random), card[i].lab.a + nudge(random), card[i].lab.b + nudge(random)});
    QTest::newRow("next to card colours") << near << QVector<int>{1, 3, 12};

    // The greys and the blues, where the hue rotation term is at its largest.
    QVector<Lab> special;
    for (int v = 0; v <= 255; v += 15) {
        special.append(ColourSpace::labFromRgb(qRgb(v, v, v)));
        special.append(ColourSpace::labFromRgb(qRgb(v / 4, v / 3, v)));
    }
    QTest::newRow("greys and blues") << special << QVector<int>{1, 4, 16};

    QTest::newRow("the whole card ranked") << randomSrgbQueries(3, 7) << QVector<int>{int(card.size())};
}

void TestColour::nearestMatchesBruteForce()
{
    QFETCH(QVector<Lab>, queries);
    QFETCH(QVector<int>, counts);
    const NearestColours search(m_card);
    compareWithBruteForce(search, m_card, queries, counts);
}

// A 100,000-colour card: about 300 sRGB values repeat, so ties occur.
void TestColour::nearestOnLargeGeneratedCard()
{
    const QVector<CardColour> card = ColourFixtures::generatedCard(100000, 100000);
    const NearestColours search(card);
    QVector<Lab> queries = randomSrgbQueries(40, 99);
    for (int i = 0; i < card.size(); i += 9973)
        queries.append(card[i].lab);
    compareWithBruteForce(search, card, queries, {1, 10, 50});
}

void TestColour::tiesGoToTheLowerSerialNumber()
{
    // Three colours, each four times, given in no order of serial number.
    const QRgb rgbs[3] = {qRgb(10, 20, 30), qRgb(200, 100, 50), qRgb(90, 90, 91)};
    const int sns[12] = {40, 7, 12, 3, 99, 5, 61, 8, 2, 70, 33, 1};
    QVector<CardColour> card;
    for (int i = 0; i < 12; ++i) {
        const QRgb rgb = rgbs[i % 3];
        card.append({sns[i], QString::number(sns[i]), rgb, ColourSpace::labFromRgb(rgb)});
    }
    const NearestColours search(card);
    for (const QRgb rgb : rgbs) {
        const Lab query = ColourSpace::labFromRgb(rgb);
        compareWithBruteForce(search, card, {query}, {1, 2, 3, 5, 12});
        // The first four are the query's own colour, serial numbers ascending.
        const QVector<NearestColours::Match> found = search.nearest(query, 4);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(found[i].deltaE, 0.0);
            if (i > 0)
                QVERIFY(card[found[i - 1].index].sn < card[found[i].index].sn);
        }
    }
}

void TestColour::nearestEdgeCases()
{
    const QVector<CardColour> card = m_card.mid(0, 5);
    const NearestColours search(card);
    const Lab query = ColourSpace::labFromRgb(qRgb(120, 130, 140));
    QVERIFY(search.nearest(query, 0).isEmpty());
    QVERIFY(search.nearest(query, -3).isEmpty());
    QCOMPARE(search.nearest(query, 50).size(), 5);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QVERIFY(search.nearest({nan, 0, 0}, 3).isEmpty());
    QVERIFY(search.nearest({50, std::numeric_limits<double>::infinity(), 0}, 3).isEmpty());
    const NearestColours empty({});
    QVERIFY(empty.nearest(query, 3).isEmpty());
}

void TestColour::parseColourInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<ColourInput::Kind>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QRgb>("rgb");
    const auto code = ColourInput::Kind::Code;
    const auto colour = ColourInput::Kind::Colour;
    QTest::newRow("code") << "K8.04.43" << code << "K8.04.43" << QRgb(0);
    QTest::newRow("code in small letters, spaces around") << "  k8.04.43 " << code << "K8.04.43" << QRgb(0);
    QTest::newRow("code of digits") << "00.00.97" << code << "00.00.97" << QRgb(0);
    QTest::newRow("#rrggbb") << "#1a2B3c" << colour << QString() << qRgb(0x1a, 0x2b, 0x3c);
    QTest::newRow("rrggbb") << "FF8000" << colour << QString() << qRgb(255, 128, 0);
    QTest::newRow("rrggbb of digits") << "102030" << colour << QString() << qRgb(0x10, 0x20, 0x30);
    QTest::newRow("rgb() spaced") << "rgb(12, 34, 255)" << colour << QString() << qRgb(12, 34, 255);
    QTest::newRow("rgb() tight") << "rgb(0,0,0)" << colour << QString() << qRgb(0, 0, 0);
    QTest::newRow("RGB() loose") << "RGB ( 1 ,2 , 3 )" << colour << QString() << qRgb(1, 2, 3);
    QTest::newRow("three numbers") << "200 100 50" << colour << QString() << qRgb(200, 100, 50);
    QTest::newRow("three numbers, tabs and commas") << "7,\t8 ,  9" << colour << QString() << qRgb(7, 8, 9);
    QTest::newRow("leading zeros") << "007 000 255" << colour << QString() << qRgb(7, 0, 255);
}

void TestColour::parseColourInput()
{
    QFETCH(QString, text);
    QFETCH(ColourInput::Kind, kind);
    QFETCH(QString, code);
    QFETCH(QRgb, rgb);
    const ColourInput input = ColourInput::parse(text);
    QCOMPARE(input.kind(), kind);
    QVERIFY(input.isValid());
    QVERIFY(input.error().isEmpty());
    if (kind == ColourInput::Kind::Code)
        QCOMPARE(input.code(), code);
    else
        QCOMPARE(input.rgb(), rgb);
}

// Each error says what was wrong with what was typed.
void TestColour::rejectColourInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mentions");
    // The start of a colour, still to be typed whole.
    QTest::addColumn<bool>("incomplete");
    QTest::newRow("nothing") << "   " << "Type a colour" << true;
    QTest::newRow("code with two groups") << "K8.04" << "three groups" << true;
    QTest::newRow("code with four groups") << "K8.04.43.1" << "three groups" << false;
    QTest::newRow("code group of three") << "K8.004.43" << "three groups" << false;
    QTest::newRow("code with a sign") << "K8.-4.43" << "three groups" << false;
    QTest::newRow("code, letter outside ASCII") << "K\u00e9.04.43" << "three groups" << false;
    QTest::newRow("decimal number") << "1.5 2 3" << "not a colour code" << false;
    QTest::newRow("short hex") << "#abc" << "has 3 hexadecimal digits" << true;
    QTest::newRow("long hex") << "#1234567" << "has 7 hexadecimal digits" << false;
    QTest::newRow("hash alone") << "#" << "has 0 hexadecimal digits" << true;
    QTest::newRow("hex with a non-digit") << "#12345g" << "only the digits" << false;
    QTest::newRow("hex prefix 0x") << "#0x1234" << "only the digits" << false;
    QTest::newRow("rgb() not closed") << "rgb(1, 2, 3" << "rgb(r, g, b)" << true;
    QTest::newRow("rgb() two values") << "rgb(1, 2)" << "three numbers apart by commas" << false;
    QTest::newRow("rgb() value out of range") << "rgb(1, 256, 3)" << "256 is out of range" << false;
    QTest::newRow("rgb() word") << "rgb(1, x, 3)" << "\u201cx\u201d is not a number" << false;
    QTest::newRow("rgb() empty value") << "rgb(1, , 3)" << "has 2" << false;
    QTest::newRow("text that looks like a placeholder") << "rgb(%2,,)" << "\u201crgb(%2,,)\u201d has 1" << false;
    QTest::newRow("number out of range") << "300 0 0" << "300 is out of range" << false;
    QTest::newRow("negative number") << "0 -1 0" << "-1 is out of range" << false;
    QTest::newRow("huge number") << "0 0 99999999999" << "99999999999 is out of range" << false;
    QTest::newRow("two numbers") << "10 20" << "has 2" << true;
    QTest::newRow("four numbers") << "1 2 3 4" << "has 4" << false;
    QTest::newRow("one number") << "12345" << "is not a colour" << true;
    QTest::newRow("code, first group typed") << "K8" << "is not a colour" << true;
    QTest::newRow("code, second group begun") << "K8.0" << "three groups" << true;
    QTest::newRow("hex begun") << "#12" << "has 2 hexadecimal digits" << true;
    QTest::newRow("rgb begun") << "rg" << "is not a colour" << true;
    QTest::newRow("rgb( open") << "rgb(" << "rgb(r, g, b)" << true;
    QTest::newRow("rgb() two numbers typed") << "RGB(1, 25" << "rgb(r, g, b)" << true;
    QTest::newRow("rgb() a number out of range") << "rgb(1, 256" << "rgb(r, g, b)" << false;
    QTest::newRow("rgb() a fourth number") << "rgb(1, 2, 3, 4" << "rgb(r, g, b)" << false;
    QTest::newRow("a word") << "red" << "is not a colour" << false;
    QTest::newRow("numbers and a word") << "1 2 blue" << "is not a colour" << false;
}

void TestColour::rejectColourInput()
{
    QFETCH(QString, text);
    QFETCH(QString, mentions);
    QFETCH(bool, incomplete);
    const ColourInput input = ColourInput::parse(text);
    QCOMPARE(input.kind(), ColourInput::Kind::Invalid);
    QVERIFY(!input.isValid());
    QVERIFY2(input.error().contains(mentions), qPrintable(input.error()));
    QCOMPARE(input.isIncomplete(), incomplete);
}

// Each band's edges on both sides, the greys' own names and the hue circle
// closing on itself.
void TestColour::colourWordsOfLch_data()
{
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("c");
    QTest::addColumn<double>("h");
    QTest::addColumn<QString>("words");
    QTest::newRow("mid grey") << 50.0 << 0.0 << 0.0 << "grey";
    QTest::newRow("grey, any hue") << 50.0 << 5.99 << 250.0 << "grey";
    QTest::newRow("black below 12") << 11.99 << 2.0 << 40.0 << "black";
    QTest::newRow("very dark grey from 12") << 12.0 << 2.0 << 40.0 << "very dark grey";
    QTest::newRow("very light grey below 92") << 91.99 << 0.0 << 0.0 << "very light grey";
    QTest::newRow("white from 92") << 92.0 << 5.0 << 0.0 << "white";
    QTest::newRow("greyish from C* 6") << 50.0 << 6.0 << 310.0 << "greyish violet";
    QTest::newRow("middle chroma unsaid") << 50.0 << 18.0 << 140.0 << "green";
    QTest::newRow("vivid from C* 50") << 50.0 << 50.0 << 40.0 << "vivid red";
    QTest::newRow("dark from L* 20") << 20.0 << 30.0 << 270.0 << "dark blue";
    QTest::newRow("very dark below 20") << 19.99 << 30.0 << 270.0 << "very dark blue";
    QTest::newRow("middle lightness unsaid from 40") << 40.0 << 30.0 << 270.0 << "blue";
    QTest::newRow("light from 65") << 65.0 << 10.0 << 260.0 << "light greyish blue";
    QTest::newRow("very light from 85") << 85.0 << 60.0 << 90.0 << "very light vivid yellow";
    QTest::newRow("hue 0 is rose") << 50.0 << 30.0 << 0.0 << "rose";
    QTest::newRow("red from 20") << 50.0 << 30.0 << 20.0 << "red";
    QTest::newRow("rose below 20") << 50.0 << 30.0 << 19.99 << "rose";
    QTest::newRow("orange") << 50.0 << 30.0 << 50.0 << "orange";
    QTest::newRow("yellow green") << 50.0 << 30.0 << 105.0 << "yellow green";
    QTest::newRow("blue green") << 50.0 << 30.0 << 165.0 << "blue green";
    QTest::newRow("azure") << 50.0 << 30.0 << 210.0 << "azure";
    QTest::newRow("purple") << 50.0 << 30.0 << 325.0 << "purple";
    QTest::newRow("rose from 345") << 50.0 << 30.0 << 345.0 << "rose";
    QTest::newRow("360 closes on 0") << 50.0 << 30.0 << 360.0 << "rose";
    QTest::newRow("negative hue wraps") << 50.0 << 30.0 << -100.0 << "blue";
}

void TestColour::colourWordsOfLch()
{
    QFETCH(double, l);
    QFETCH(double, c);
    QFETCH(double, h);
    QFETCH(QString, words);
    QCOMPARE(ColourWords::of(l, c, h), words);
}

// The sRGB primaries and greys land where a person would name them.
void TestColour::colourWordsOfSrgb_data()
{
    QTest::addColumn<QRgb>("rgb");
    QTest::addColumn<QString>("words");
    QTest::newRow("red") << qRgb(255, 0, 0) << "vivid red";
    QTest::newRow("green") << qRgb(0, 160, 0) << "vivid green";
    QTest::newRow("yellow") << qRgb(255, 255, 0) << "very light vivid yellow";
    QTest::newRow("white") << qRgb(255, 255, 255) << "white";
    QTest::newRow("black") << qRgb(0, 0, 0) << "black";
    QTest::newRow("grey") << qRgb(128, 128, 128) << "grey";
    QTest::newRow("magenta") << qRgb(255, 0, 255) << "vivid purple";
    QTest::newRow("blue below violet at 310") << qRgb(0, 0, 255) << "dark vivid blue";
    QTest::newRow("navy") << qRgb(40, 50, 110) << "dark blue";
}

void TestColour::colourWordsOfSrgb()
{
    QFETCH(QRgb, rgb);
    QFETCH(QString, words);
    QCOMPARE(ColourWords::of(rgb), words);
}

QTEST_GUILESS_MAIN(TestColour)
#include "test_colour.moc"
