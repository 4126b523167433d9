// SPDX-License-Identifier: MIT
// Colours as people with a colour-vision deficiency see them: which collected
// colours they cannot tell apart, from the command line, with the reference
// differences of colorspacious (Machado et al. 2009) and scikit-image.
#include "ProgramFolder.h"
#include "ProgramRun.h"

#include <QTest>

namespace {

using Run = ProgramRun::Result;

Run tesselle(const ProgramFolder &folder, const QStringList &arguments)
{
    return ProgramRun::run(folder, QStringList{QStringLiteral("--database"), folder.databasePath()} + arguments,
                           ProgramRun::Options{ProgramRun::Display::None});
}

struct Line
{
    QString kind;
    QString first;
    QString second;
    double seen;
    double normal;
};

// "deuteranopia  K8.04.43  D7.70.43  1.8  23.5"
QVector<Line> linesOf(const QString &out)
{
    QVector<Line> lines;
    for (const QString &text : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = text.split(QStringLiteral("  "));
        if (f.size() != 5)
            return {{text, {}, {}, -1, -1}};
        lines.append({f[0], f[1], f[2], f[3].toDouble(), f[4].toDouble()});
    }
    return lines;
}

} // namespace

class VisionTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void checkVision_data();
    void checkVision();
    void badArguments_data();
    void badArguments();
    void unreadableDatabase();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    QVector<CardRow> m_card;
};

void VisionTest::init()
{
    // Card colours: a grey and a pink a protanope cannot tell apart, side by
    // side on page 1 with a blue everyone tells apart; an olive and a rust on
    // pages 2 and 3, which protanopes, deuteranopes and achromats confuse.
    m_card = ProgramFolder::card(3, 3);
    const auto paint = [this](int page, int row, int r, int g, int b) {
        CardRow &c = m_card[(page - 1) * 3 + row - 1];
        c.r = r;
        c.g = g;
        c.b = b;
    };
    paint(1, 1, 116, 116, 116);
    paint(1, 2, 187, 101, 114);
    paint(1, 3, 40, 70, 200);
    paint(2, 1, 74, 51, 12);
    paint(3, 1, 93, 39, 16);
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(m_card);
    m_folder->addCollectionRows({{"5327", ProgramFolder::codeFor(1, 1)},
                                 {"5327", ProgramFolder::codeFor(1, 2)},
                                 {"5327", "X9.99.99"},
                                 {"5327", ProgramFolder::codeFor(1, 3)},
                                 {"5327", ProgramFolder::codeFor(2, 1)},
                                 {"5327", ProgramFolder::codeFor(3, 1)}});
}

void VisionTest::checkVision_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");
    const QString grey = ProgramFolder::codeFor(1, 1);
    const QString pink = ProgramFolder::codeFor(1, 2);
    const QString olive = ProgramFolder::codeFor(2, 1);
    const QString rust = ProgramFolder::codeFor(3, 1);
    // Kind, codes and the reference's two differences: as seen, as they are.
    QTest::newRow("the collection; an entry without colour left out")
        << QStringList{"--check-vision"}
        << QStringList{"protanopia " + grey + " " + pink + " 1.20 23.61",
                       "protanopia " + olive + " " + rust + " 2.72 12.82",
                       "deuteranopia " + olive + " " + rust + " 0.65 12.82",
                       "achromatopsia " + olive + " " + rust + " 0.00 12.82"};
    QTest::newRow("the card: only colours on one page")
        << QStringList{"--check-vision", "--card"}
        << QStringList{"protanopia " + grey + " " + pink + " 1.20 23.61"};
}

void VisionTest::checkVision()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    const Run run = tesselle(*m_folder, arguments);
    QCOMPARE(run.code, 0);
    const QVector<Line> lines = linesOf(run.out);
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList e = expected[i].split(QLatin1Char(' '));
        const Line &got = lines[i];
        QCOMPARE(got.kind, e[0]);
        QCOMPARE(got.first, e[1]);
        QCOMPARE(got.second, e[2]);
        // Printed to a tenth.
        QVERIFY2(std::abs(got.seen - e[3].toDouble()) <= 0.06, qPrintable(run.out));
        QVERIFY2(std::abs(got.normal - e[4].toDouble()) <= 0.06, qPrintable(run.out));
    }
}

void VisionTest::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");
    QTest::newRow("--see-as without --export") << QStringList{"--see-as", "deuteranopia"} << "--see-as goes with --export";
    QTest::newRow("--see-as with a palette") << QStringList{"--export", "x.gpl", "--see-as", "deuteranopia"}
                                             << "--see-as goes with --export";
    QTest::newRow("--see-as an unknown vision") << QStringList{"--export", "x.pdf", "--see-as", "purple"}
                                                << "--see-as takes protanopia";
    QTest::newRow("--see-as a severity beyond 1") << QStringList{"--export", "x.pdf", "--see-as", "protanopia:1.5"}
                                                  << "--see-as takes protanopia";
    QTest::newRow("--see-as achromatopsia with a severity")
        << QStringList{"--export", "x.pdf", "--see-as", "achromatopsia:0.5"} << "--see-as takes protanopia";
    QTest::newRow("--check-vision with --import") << QStringList{"--check-vision", "--import", "x.gpl"}
                                                  << "--check-vision goes alone";
}

void VisionTest::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    const Run run = tesselle(*m_folder, arguments);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QVERIFY(!QFile::exists(m_folder->path() + QStringLiteral("/x.pdf")));
}

void VisionTest::unreadableDatabase()
{
    const Run run = ProgramRun::run(*m_folder, {QStringLiteral("--database"), m_folder->path() + "/none.db",
                                                QStringLiteral("--check-vision")},
                                    ProgramRun::Options{ProgramRun::Display::None});
    QCOMPARE(run.code, 1);
    QVERIFY(run.out.isEmpty());
}

QTEST_GUILESS_MAIN(VisionTest)
#include "test_vision.moc"
