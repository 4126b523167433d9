// SPDX-License-Identifier: MIT
// The collection panel: showing entries one at a time with wrap-around,
// adding the selected colour from the card panel, deleting the shown entry,
// and entries whose colour cannot be found. Every change is checked in the
// database file itself.
#include "WindowFixture.h"
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"

#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <memory>

namespace {

constexpr int cardPages = 100;
constexpr int rowsPerPage = 3;

// A second card table in the same database, whose colours differ from this
// card's for the same code; "Q1.00.00" stands in it twice.
const QString otherTable = QStringLiteral("6000");
const QColor otherColour(1, 2, 3);
const QColor otherFirstDuplicate(10, 20, 30);

QVector<CardRow> otherCard()
{
    return {
        CardRow{1, 1, 1, ProgramFolder::codeFor(1, 2), otherColour.red(), otherColour.green(),
                otherColour.blue()},
        CardRow{2, 1, 2, QStringLiteral("Q1.00.00"), otherFirstDuplicate.red(),
                otherFirstDuplicate.green(), otherFirstDuplicate.blue()},
        CardRow{3, 1, 3, QStringLiteral("Q1.00.00"), 200, 100, 50},
    };
}

// The n-th colour of this card (1-based) in page and row order.
QString nthCode(int n)
{
    return ProgramFolder::codeFor((n - 1) / rowsPerPage + 1, (n - 1) % rowsPerPage + 1);
}

// This card's colour for a code "Tp.PP.RR", in any case.
QColor cardColour(const QString &code)
{
    const int page = code.mid(1, 1).toInt() * 100 + code.mid(3, 2).toInt();
    const CardRow row = ProgramFolder::rowFor(0, page, code.mid(6, 2).toInt());
    return QColor(row.r, row.g, row.b);
}

using Rows = QVector<QPair<QString, QString>>;

// Collection rows of this card holding its first n colours.
Rows firstCodes(int n)
{
    Rows rows;
    for (int i = 1; i <= n; ++i)
        rows.append({QStringLiteral("5327"), nthCode(i)});
    return rows;
}

// "table|code" pairs, as the tables below write collection rows.
Rows rowsFrom(const QStringList &pairs)
{
    Rows rows;
    for (const QString &pair : pairs)
        rows.append({pair.section(QLatin1Char('|'), 0, 0), pair.section(QLatin1Char('|'), 1)});
    return rows;
}

// What the collection panel is expected to show.
QString entryState(const QString &code, const QColor &colour, int position, int count)
{
    return QStringLiteral("%1 on #e6e6e6 | %2 /%3 | %4 | buttons")
        .arg(code)
        .arg(position)
        .arg(count)
        .arg(colour.isValid() ? colour.name() : QStringLiteral("unknown"));
}

const QString emptyState = QStringLiteral(" on #ffffff | 0 /0 | #ffffff | no buttons");

} // namespace

class CollectionTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void emptyCollection();
    void stepping_data();
    void stepping();
    void entryColour_data();
    void entryColour();
    void addNothingSelected();
    void addition_data();
    void addition();
    void additionShowsWhenBroughtForward();
    void deleteShownEntry_data();
    void deleteShownEntry();
    void deleteWithoutShownEntry_data();
    void deleteWithoutShownEntry();
    void pageAndEntryButtonsAreSeparate();

private:
    // Writes the collection rows, then starts the window over the folder.
    void start(const Rows &collection);
    // Brings the collection panel forward through the palette.
    void showCollection();
    // Selects a colour of the card panel by clicking its swatch.
    void select(int page, int row);
    // What the collection panel shows, in the terms of entryState().
    QString panelState() const;
    // The collection's rows as "table|code", read from the file in sn order.
    QStringList collectionRows() const;

};

void CollectionTest::init()
{
    createFolder(ProgramFolder::card(cardPages, rowsPerPage));
    m_folder->addCardTable(otherTable, otherCard());
    m_folder->exec(QStringLiteral("create table notes (note text)"));
}

void CollectionTest::start(const Rows &collection)
{
    if (!collection.isEmpty())
        m_folder->addCollectionRows(collection);
    QVERIFY(openWindow());
}

void CollectionTest::showCollection()
{
    emit m_form->palettac()->FSCommand(QString(), QString());
}

void CollectionTest::select(int page, int row)
{
    emit m_form->palettac()->FSCommand(QStringLiteral("5327"), QString());
    m_form->pageMove(page);
    Swatch *swatch = m_form->pagecolor(row);
    QVERIFY(swatch);
    WindowDriver::clickThroughWindow(swatch, swatch->rect().center());
    QCOMPARE(m_form->color_a(), ProgramFolder::codeFor(page, row));
}

QString CollectionTest::panelState() const
{
    const QList<MovieControl *> buttons = {m_form->nextb_swf(), m_form->previousb_swf(),
                                           m_form->deleteb_swf()};
    int shown = 0;
    for (MovieControl *button : buttons)
        shown += button->isHidden() ? 0 : 1;
    const QString buttonState = shown == 3 ? QStringLiteral("buttons")
        : shown == 0                       ? QStringLiteral("no buttons")
                                           : QStringLiteral("some buttons");
    const QString colour = m_form->baby_color()->isUnknown() ? QStringLiteral("unknown")
                                                           : m_form->baby_color()->backColor().name();
    return QStringLiteral("%1 on %2 | %3 %4 | %5 | %6")
        .arg(m_form->baby_code()->text(), m_form->baby_code()->backColor().name(),
             m_form->baby_num()->text(), m_form->baby_nummax()->text(), colour, buttonState);
}

QStringList CollectionTest::collectionRows() const
{
    QStringList rows;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_folder->databasePath());
        if (db.open()) {
            QSqlQuery query(QStringLiteral("select ccard_name, code from baby2 order by sn"), db);
            while (query.next())
                rows.append(query.value(0).toString() + QLatin1Char('|') + query.value(1).toString());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

void CollectionTest::emptyCollection()
{
    start({});
    showCollection();
    QCOMPARE(panelState(), emptyState);
    QVERIFY(m_form->baby_color()->isVisible());

    // Step commands that still arrive keep the empty state.
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), emptyState);
    emit m_form->previousb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), emptyState);

    // Asked for entry 1 of nothing, the panel goes to its empty state
    // whatever it showed before.
    m_form->baby_code()->setText(QStringLiteral("stale"));
    m_form->baby_code()->setBackColor(Qt::red);
    m_form->baby_color()->setBackColor(Qt::red);
    m_form->baby_color()->setUnknown(true);
    m_form->baby_num()->setText(QStringLiteral("5"));
    m_form->baby_nummax()->setText(QStringLiteral("/9"));
    m_form->nextb_swf()->show();
    m_form->babyColorizer(1);
    QCOMPARE(panelState(), emptyState);
    QCOMPARE(m_form->baby_max().toInt(), 0);
    QCOMPARE(m_folder->collectionCodes(), QStringList());

    // Only the palette leaves the empty state, once a colour was added.
    const QString code = ProgramFolder::codeFor(7, 1);
    select(7, 1);
    emit m_form->addtobaby_swf()->FSCommand(QString(), QString());
    QCOMPARE(m_folder->collectionCodes(), QStringList({code}));
    QCOMPARE(panelState(), emptyState);
    showCollection();
    QCOMPARE(panelState(), entryState(code, cardColour(code), 1, 1));
}

void CollectionTest::stepping_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("action");  // next, previous, or a position to show
    QTest::addColumn<int>("shown");

    QTest::newRow("one, next") << 1 << 1 << "next" << 1;
    QTest::newRow("one, previous") << 1 << 1 << "previous" << 1;
    QTest::newRow("three, next from 3") << 3 << 3 << "next" << 1;
    QTest::newRow("three, previous from 1") << 3 << 1 << "previous" << 3;
    QTest::newRow("three, next from 1") << 3 << 1 << "next" << 2;
    QTest::newRow("three, previous from 3") << 3 << 3 << "previous" << 2;
    QTest::newRow("three, one past the end") << 3 << 1 << "4" << 3;
    QTest::newRow("300, next from 255") << 300 << 255 << "next" << 256;
    QTest::newRow("300, next from 256") << 300 << 256 << "next" << 257;
    QTest::newRow("300, previous from 256") << 300 << 256 << "previous" << 255;
    QTest::newRow("300, previous from 1") << 300 << 1 << "previous" << 300;
    QTest::newRow("300, next from 300") << 300 << 300 << "next" << 1;
}

void CollectionTest::stepping()
{
    QFETCH(int, count);
    QFETCH(int, from);
    QFETCH(QString, action);
    QFETCH(int, shown);

    start(firstCodes(count));
    showCollection();
    QCOMPARE(panelState(), entryState(nthCode(1), cardColour(nthCode(1)), 1, count));
    m_form->babyColorizer(from);
    QCOMPARE(panelState(), entryState(nthCode(from), cardColour(nthCode(from)), from, count));

    if (action == QLatin1String("next"))
        emit m_form->nextb_swf()->FSCommand(QStringLiteral("click"), QString());
    else if (action == QLatin1String("previous"))
        emit m_form->previousb_swf()->FSCommand(QStringLiteral("click"), QString());
    else
        m_form->babyColorizer(action.toInt());

    QCOMPARE(panelState(), entryState(nthCode(shown), cardColour(nthCode(shown)), shown, count));
    QCOMPARE(m_form->baby_max().toInt(), count);
}

void CollectionTest::entryColour_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QColor>("colour");  // invalid: shown without colour

    const QString own = QStringLiteral("5327");
    const QString code = nthCode(5);
    QTest::newRow("this card") << own << code << cardColour(code);
    QTest::newRow("other card table") << otherTable << ProgramFolder::codeFor(1, 2) << otherColour;
    QTest::newRow("several rows match") << otherTable << "Q1.00.00" << otherFirstDuplicate;
    QTest::newRow("code in lower case") << own << code.toLower() << cardColour(code);
    QTest::newRow("missing card table") << "9999" << code << QColor();
    QTest::newRow("table name with SQL") << "5327\"; drop table baby2; --" << code << QColor();
    QTest::newRow("table name with a blank") << "x y" << code << QColor();
    QTest::newRow("empty table name") << "" << code << QColor();
    QTest::newRow("code not on the card") << own << "T9.99.99" << QColor();
    QTest::newRow("the collection table") << "baby2" << code << QColor();
    QTest::newRow("table without colours") << "notes" << code << QColor();
    QTest::newRow("code with a quote") << own << "T0\".0102" << QColor();
    QTest::newRow("empty code") << own << "" << QColor();
}

void CollectionTest::entryColour()
{
    QFETCH(QString, table);
    QFETCH(QString, code);
    QFETCH(QColor, colour);

    // The row under test stands between two entries of this card.
    const QString before = nthCode(1);
    const QString after = nthCode(3);
    start({{QStringLiteral("5327"), before}, {table, code}, {QStringLiteral("5327"), after}});
    showCollection();
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), entryState(code, colour, 2, 3));

    const QImage box = m_form->baby_color()->grab().toImage();
    const QColor centre = box.pixelColor(box.rect().center());
    if (colour.isValid()) {
        QCOMPARE(centre, colour);
    } else {
        // Hatched, so that it reads neither as white (empty) nor as a colour.
        QVERIFY(centre != QColor(Qt::white));
        QVERIFY(box.pixelColor(0, 0) != QColor(Qt::white));
        bool hatched = false;
        for (int x = 0; x < box.width() && !hatched; ++x)
            hatched = box.pixelColor(x, box.height() / 2) != centre;
        QVERIFY(hatched);
    }

    // Stepping and deleting go on around the entry.
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), entryState(after, cardColour(after), 3, 3));
    QCOMPARE(m_form->baby_color()->grab().toImage().pixelColor(box.rect().center()), cardColour(after));
    emit m_form->previousb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), entryState(code, colour, 2, 3));
    emit m_form->deleteb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), entryState(after, cardColour(after), 2, 2));
    QCOMPARE(m_folder->collectionCodes(), QStringList({before, after}));
    QVERIFY(m_failures->failures.isEmpty());
}

void CollectionTest::addNothingSelected()
{
    start(firstCodes(1));
    QCOMPARE(m_form->color_a(), QString());
    const QString panel = panelState();
    emit m_form->addtobaby_swf()->FSCommand(QString(), QString());
    emit m_form->addtobaby_swf()->FSCommand(QStringLiteral("click"), QString());
    QCOMPARE(collectionRows(), QStringList({QStringLiteral("5327|") + nthCode(1)}));
    QCOMPARE(panelState(), panel);
    showCollection();
    QCOMPARE(panelState(), entryState(nthCode(1), cardColour(nthCode(1)), 1, 1));
}

void CollectionTest::addition_data()
{
    QTest::addColumn<QStringList>("existing");  // "table|code", in sn order
    QTest::addColumn<int>("times");             // additions of T0.02.03
    QTest::addColumn<bool>("added");

    const QString code = ProgramFolder::codeFor(2, 3);
    const QString a = QStringLiteral("5327|") + nthCode(1);
    const QString b = QStringLiteral("5327|") + nthCode(2);
    QTest::newRow("to an empty collection") << QStringList() << 1 << true;
    QTest::newRow("after other entries") << QStringList({a, b}) << 1 << true;
    QTest::newRow("same colour twice") << QStringList() << 2 << true;
    QTest::newRow("already collected") << QStringList({QStringLiteral("5327|") + code}) << 1 << false;
    QTest::newRow("collected last of three")
        << QStringList({a, b, QStringLiteral("5327|") + code}) << 1 << false;
    QStringList many;
    for (int i = 7; i <= cardPages * rowsPerPage; ++i)
        many.append(QStringLiteral("5327|") + nthCode(i));
    QTest::newRow("not among 294") << many << 1 << true;
    QTest::newRow("collected last of 295") << (QStringList(many) << QStringLiteral("5327|") + code)
                                           << 1 << false;
    QTest::newRow("collected from another card")
        << QStringList({otherTable + QLatin1Char('|') + code}) << 1 << false;
    QTest::newRow("differs in case") << QStringList({QStringLiteral("5327|") + code.toLower()}) << 1
                                     << true;
    QTest::newRow("differs by a blank") << QStringList({QStringLiteral("5327|") + code + QLatin1Char(' ')})
                                        << 1 << true;
}

void CollectionTest::addition()
{
    QFETCH(QStringList, existing);
    QFETCH(int, times);
    QFETCH(bool, added);

    start(rowsFrom(existing));
    select(2, 3);
    for (int i = 0; i < times; ++i)
        emit m_form->addtobaby_swf()->FSCommand(QString(), QString());

    QStringList expected = existing;
    if (added)
        expected.append(QStringLiteral("5327|") + ProgramFolder::codeFor(2, 3));
    QCOMPARE(collectionRows(), expected);
}

void CollectionTest::additionShowsWhenBroughtForward()
{
    start(firstCodes(2));
    showCollection();
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    const QString before = entryState(nthCode(2), cardColour(nthCode(2)), 2, 2);
    QCOMPARE(panelState(), before);

    const QString code = ProgramFolder::codeFor(40, 2);
    select(40, 2);
    emit m_form->addtobaby_swf()->FSCommand(QString(), QString());
    QCOMPARE(m_folder->collectionCodes(), QStringList({nthCode(1), nthCode(2), code}));
    QCOMPARE(panelState(), before);
    QCOMPARE(m_form->baby_max().toInt(), 2);

    showCollection();
    QCOMPARE(panelState(), entryState(nthCode(1), cardColour(nthCode(1)), 1, 3));
    emit m_form->previousb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), entryState(code, cardColour(code), 3, 3));
}

void CollectionTest::deleteShownEntry_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("shown");  // the position deleted
    QTest::addColumn<int>("after");  // the position shown afterwards, 0: empty

    QTest::newRow("middle of three") << 3 << 2 << 2;
    QTest::newRow("last of three") << 3 << 3 << 2;
    QTest::newRow("first of three") << 3 << 1 << 1;
    QTest::newRow("only entry") << 1 << 1 << 0;
    QTest::newRow("256 of 300") << 300 << 256 << 256;
    QTest::newRow("last of 300") << 300 << 300 << 299;
}

void CollectionTest::deleteShownEntry()
{
    QFETCH(int, count);
    QFETCH(int, shown);
    QFETCH(int, after);

    start(firstCodes(count));
    showCollection();
    m_form->babyColorizer(shown);
    QCOMPARE(m_form->baby_code()->text(), nthCode(shown));

    emit m_form->deleteb_swf()->FSCommand(QString(), QString());

    QStringList remaining;
    for (int i = 1; i <= count; ++i) {
        if (i != shown)
            remaining.append(nthCode(i));
    }
    QCOMPARE(m_folder->collectionCodes(), remaining);
    if (after == 0) {
        QCOMPARE(panelState(), emptyState);
    } else {
        const QString code = remaining.at(after - 1);
        QCOMPARE(panelState(), entryState(code, cardColour(code), after, count - 1));
    }

    // The next delete removes what is shown now, and nothing once empty.
    emit m_form->deleteb_swf()->FSCommand(QString(), QString());
    if (after != 0)
        remaining.removeAt(after - 1);
    QCOMPARE(m_folder->collectionCodes(), remaining);
}

void CollectionTest::deleteWithoutShownEntry_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("before");

    QTest::newRow("right after start-up") << 3 << "";
    QTest::newRow("empty collection") << 0 << "collection";
    QTest::newRow("card panel in front") << 3 << "collection, card";
    QTest::newRow("after an addition") << 3 << "collection, next, add";
}

void CollectionTest::deleteWithoutShownEntry()
{
    QFETCH(int, count);
    QFETCH(QString, before);

    start(firstCodes(count));
    if (before.contains(QLatin1String("add"))) {
        // A colour selected on the card panel, then the collection in front.
        select(50, 1);
    }
    if (before.contains(QLatin1String("collection")))
        showCollection();
    if (before.contains(QLatin1String("next")))
        emit m_form->nextb_swf()->FSCommand(QString(), QString());
    if (before.contains(QLatin1String("card")))
        emit m_form->palettac()->FSCommand(QStringLiteral("5327"), QString());
    QStringList codes = m_folder->collectionCodes();
    if (before.contains(QLatin1String("add"))) {
        emit m_form->addtobaby_swf()->FSCommand(QString(), QString());
        codes.append(ProgramFolder::codeFor(50, 1));
    }
    const QString panel = panelState();

    emit m_form->deleteb_swf()->FSCommand(QString(), QString());

    QCOMPARE(m_folder->collectionCodes(), codes);
    QCOMPARE(panelState(), panel);
}

void CollectionTest::pageAndEntryButtonsAreSeparate()
{
    start(firstCodes(3));
    QCOMPARE(m_form->next_swf()->movie(), m_form->nextb_swf()->movie());
    QVERIFY(m_form->next_swf()->isLoaded());
    m_form->pageMove(20);
    showCollection();
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    const QString second = entryState(nthCode(2), cardColour(nthCode(2)), 2, 3);
    QCOMPARE(panelState(), second);

    emit m_form->next_swf()->FSCommand(QString(), QString());
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("21"));
    QCOMPARE(panelState(), second);

    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), entryState(nthCode(3), cardColour(nthCode(3)), 3, 3));
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("21"));
    QCOMPARE(m_form->pagecolor(1)->toolTip(), ProgramFolder::codeFor(21, 1));
}

QTEST_MAIN(CollectionTest)
#include "test_collection.moc"
