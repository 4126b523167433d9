// SPDX-License-Identifier: MIT
// What a screen reader finds in the real window, read through Qt's
// accessibility tree from the window down: every control a person can reach
// named and given its role, everything clickable with a press action that
// does what a click does, the palette's sectors and tabs as children of
// their own, the captions tied to their boxes, and changes told through the
// status bar's name while nothing more shows on screen.
#include "WindowFixture.h"
#include "ProgramFolder.h"

#include "TestWindow.h"
#include "WindowDriver.h"
#include "card/CardPanel.h"
#include "colour/ColourWords.h"
#include "widgets/MovieControl.h"
#include "widgets/Notice.h"
#include "widgets/PictureBox.h"
#include "widgets/SpokenOutcome.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr int cardPages = 200;
constexpr int rowsPerPage = 8;

// The collection the window opens with; the last entry names no colour of
// the card.
const QStringList collection = {ProgramFolder::codeFor(4, 1), ProgramFolder::codeFor(8, 2),
                                QStringLiteral("T9.99.99")};

// The page each sector leads to, as the palette's sector table gives it.
const int sectorPages[24] = {109, 90,  70,  50,  35,  22,  10,  5,   200, 197, 194, 190,
                             186, 179, 172, 165, 157, 151, 145, 140, 139, 129, 122, 115};

QColor cardColour(int page, int row)
{
    const CardRow r = ProgramFolder::rowFor(0, page, row);
    return QColor(r.r, r.g, r.b);
}

// What a screen reader hears of collection entry i (from 0) of count: its
// code and its card colour in words, the last entry being no card colour.
QString entryWords(int i, int position, int count)
{
    const QString words = i == 0 ? ColourWords::of(cardColour(4, 1).rgb())
        : i == 1                 ? ColourWords::of(cardColour(8, 2).rgb())
                                 : QStringLiteral("no colour");
    return QStringLiteral("Entry %1 of %2, %3, %4").arg(position).arg(count).arg(collection.at(i), words);
}

// The name the card panel gives swatch row of page: its code, its colour
// in words, its page and row.
QString swatchName(int page, int row)
{
    return QStringLiteral("%1, %2, page %3, row %4 of %5")
        .arg(ProgramFolder::codeFor(page, row), ColourWords::of(cardColour(page, row).rgb()))
        .arg(page)
        .arg(row)
        .arg(rowsPerPage);
}

QString colourText(const QColor &c)
{
    return QStringLiteral("%1, rgb(%2, %3, %4)").arg(c.name()).arg(c.red()).arg(c.green()).arg(c.blue());
}

// Every interface under root, root included, depth first.
void collect(QAccessibleInterface *root, QList<QAccessibleInterface *> *all)
{
    all->append(root);
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface *child = root->child(i))
            collect(child, all);
    }
}

bool hasPress(QAccessibleInterface *iface)
{
    QAccessibleActionInterface *actions = iface->actionInterface();
    return actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
}

// A step of a _data table: a press on the shown element of that name, or
// "code:XX.XX.XX", a code entered in the code fields.
using Steps = QStringList;

} // namespace

class AccessibilityTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void reachableControlsNamed_data();
    void reachableControlsNamed();
    void control_data();
    void control();
    void description_data();
    void description();
    void press_data();
    void press();
    void announcement_data();
    void announcement();
    void redoSaysWhatIsLeft();
    void swatchList();
    void nothingUnreachable();
    void paletteElements();
    void elementsFollowTheScale();
    void captionsLabelTheirBoxes();
    void introLeavesWhenPressed();

private:
    QList<QAccessibleInterface *> tree() const;
    // The interface in the window's tree shown under that name; null when
    // there is none.
    QAccessibleInterface *shown(const QString &name) const;
    // Runs the steps; false when one could not be taken.
    bool run(const Steps &steps);
    QString noticeName() const;
};

void AccessibilityTest::init()
{
    createFolder(ProgramFolder::card(cardPages, rowsPerPage));
    QVector<QPair<QString, QString>> rows;
    for (const QString &code : collection)
        rows.append({QStringLiteral("5327"), code});
    m_folder->addCollectionRows(rows);
    // An intro that does not go by itself: the test presses it.
    if (QTest::currentTestFunction() == QByteArray("introLeavesWhenPressed")) {
        QFile intro(QStringLiteral("%1/swf/borit.svg").arg(m_folder->path()));
        QVERIFY(intro.open(QIODevice::WriteOnly | QIODevice::Truncate));
        intro.write(R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:mv="urn:x-tesselle:movie" )"
                    R"(viewBox="0 0 210 690"><rect id="all" width="210" height="690" mv:command="1"/></svg>)");
        intro.close();
        QVERIFY(openWindow(false));
        return;
    }
    QVERIFY(openWindow());
}

QList<QAccessibleInterface *> AccessibilityTest::tree() const
{
    QList<QAccessibleInterface *> all;
    collect(QAccessible::queryAccessibleInterface(m_form.get()), &all);
    return all;
}

QAccessibleInterface *AccessibilityTest::shown(const QString &name) const
{
    for (QAccessibleInterface *iface : tree()) {
        if (!iface->state().invisible && iface->text(QAccessible::Name) == name)
            return iface;
    }
    return nullptr;
}

bool AccessibilityTest::run(const Steps &steps)
{
    for (const QString &step : steps) {
        if (step.startsWith(QLatin1String("key:"))) {
            // A key as X11 delivers it, to whatever has the keyboard.
            const QKeyCombination key = QKeySequence::fromString(step.mid(4))[0];
            WindowDriver::key(key.key(), key.keyboardModifiers());
            continue;
        }
        if (step.startsWith(QLatin1String("code:"))) {
            const QString code = step.mid(5);
            m_form->findcode_txt1()->setText(code.left(2));
            m_form->findcode_txt2()->setText(code.mid(3, 2));
            m_form->findcode_txt3()->setText(code.right(2));
            m_form->cardPanel()->enterCode();
            continue;
        }
        QAccessibleInterface *target = shown(step);
        if (!target || !hasPress(target)) {
            qWarning("nothing shown as \"%s\" to press", qPrintable(step));
            return false;
        }
        target->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    return true;
}

QString AccessibilityTest::noticeName() const
{
    return QAccessible::queryAccessibleInterface(m_form->findChild<Notice *>())->text(QAccessible::Name);
}

// Whatever a person can reach, by Tab or by pointer, has a name and a role
// of its own, and whatever takes clicks can be pressed.
void AccessibilityTest::reachableControlsNamed_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::newRow("card") << Steps{};
    QTest::newRow("collection") << Steps{QStringLiteral("My colours")};
}

void AccessibilityTest::reachableControlsNamed()
{
    QFETCH(Steps, steps);
    QVERIFY(run(steps));
    int clickable = 0;
    for (QAccessibleInterface *iface : tree()) {
        if (iface->state().invisible)
            continue;
        QObject *object = iface->object();
        const bool takesClicks = qobject_cast<Swatch *>(object)
            || (qobject_cast<MovieControl *>(object) && iface->role() == QAccessible::Button)
            || (!object && qobject_cast<MovieControl *>(iface->parent()->object()));
        if (!iface->state().focusable && !takesClicks)
            continue;
        const QString what = object ? object->objectName()
                                    : QStringLiteral("element %1 of %2")
                                          .arg(iface->parent()->indexOfChild(iface))
                                          .arg(iface->parent()->object()->objectName());
        QVERIFY2(!iface->text(QAccessible::Name).isEmpty(), qPrintable(what + " has no name"));
        QVERIFY2(iface->role() != QAccessible::Client && iface->role() != QAccessible::NoRole,
                 qPrintable(what + " has no role of its own"));
        if (takesClicks) {
            QVERIFY2(hasPress(iface), qPrintable(what + " cannot be pressed"));
            ++clickable;
        }
    }
    // The card: 8 swatches, 3 buttons and the palette's 26 elements; the
    // collection: 3 buttons and the palette's.
    QCOMPARE(clickable, steps.isEmpty() ? 8 + 3 + 26 : 3 + 26);
}

void AccessibilityTest::control_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");

    QTest::newRow("window") << "Form1" << "Tesselle 5327" << QAccessible::Window;
    QTest::newRow("page box") << "pagen_text" << "Page number" << QAccessible::EditableText;
    QTest::newRow("code 1") << "findcode_txt1" << "Code, first group" << QAccessible::EditableText;
    QTest::newRow("code 2") << "findcode_txt2" << "Code, second group" << QAccessible::EditableText;
    QTest::newRow("code 3") << "findcode_txt3" << "Code, third group" << QAccessible::EditableText;
    QTest::newRow("next page") << "next_swf" << "Next page" << QAccessible::Button;
    QTest::newRow("previous page") << "previous_swf" << "Previous page" << QAccessible::Button;
    QTest::newRow("next entry") << "nextb_swf" << "Next entry" << QAccessible::Button;
    QTest::newRow("previous entry") << "previousb_swf" << "Previous entry" << QAccessible::Button;
    QTest::newRow("add") << "addtobaby_swf" << "Add to collection" << QAccessible::Button;
    QTest::newRow("delete") << "deleteb_swf" << "Delete entry" << QAccessible::Button;
    QTest::newRow("palette") << "palettac" << "Palette" << QAccessible::Grouping;
    QTest::newRow("swatch 6") << "pagecolor(6)" << swatchName(1, 6) << QAccessible::ListItem;
    QTest::newRow("card panel") << "tart_pb(0)" << "Card" << QAccessible::Pane;
    QTest::newRow("collection panel") << "tart_pb(1)" << "Collection" << QAccessible::Pane;
    QTest::newRow("collection colour") << "baby_color" << "Collection colour" << QAccessible::Graphic;
    QTest::newRow("entry code") << "baby_code" << "Entry code" << QAccessible::EditableText;
    QTest::newRow("entry number") << "baby_num" << "Entry number" << QAccessible::EditableText;
    QTest::newRow("notice") << "notice" << "Page 1, 8 colours" << QAccessible::StatusBar;
}

void AccessibilityTest::control()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);

    QObject *object = m_form->control(control);
    QVERIFY(object);
    QAccessibleInterface *iface = nullptr;
    for (QAccessibleInterface *candidate : tree()) {
        if (candidate->object() == object)
            iface = candidate;
    }
    QVERIFY2(iface, "not in the window's tree");
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(iface->role(), role);
}

// Colour boxes say their colour in sRGB, or that it is unknown.
void AccessibilityTest::description_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("description");

    QTest::newRow("swatch") << Steps{} << "pagecolor(6)" << colourText(cardColour(1, 6));
    QTest::newRow("swatch of another page")
        << Steps{QStringLiteral("Next page")} << "pagecolor(2)" << colourText(cardColour(2, 2));
    QTest::newRow("selected colour") << Steps{swatchName(1, 5)} << "pagecs" << colourText(cardColour(1, 5));
    QTest::newRow("collection colour")
        << Steps{QStringLiteral("My colours")} << "baby_color" << colourText(cardColour(4, 1));
    QTest::newRow("unknown colour") << Steps{QStringLiteral("My colours"), QStringLiteral("Previous entry")}
                                    << "baby_color" << "unknown colour";
    QTest::newRow("count") << Steps{} << "baby_nummax" << "Number of entries";
}

void AccessibilityTest::description()
{
    QFETCH(Steps, steps);
    QFETCH(QString, control);
    QFETCH(QString, description);
    QVERIFY(run(steps));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(m_form->control(control));
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Description), description);
}

// A press through the accessibility tree does what a click does.
void AccessibilityTest::press_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("what");  // what to read afterwards
    QTest::addColumn<QString>("expected");

    const QString myColours = QStringLiteral("My colours");
    QTest::newRow("next page") << Steps{"Next page"} << "page" << "2";
    QTest::newRow("previous page wraps") << Steps{"Previous page"} << "page" << "200";
    QTest::newRow("swatch") << Steps{swatchName(1, 3)} << "selected" << ProgramFolder::codeFor(1, 3);
    QTest::newRow("swatch of page 2") << Steps{"Next page", swatchName(2, 8)} << "selected"
                                      << ProgramFolder::codeFor(2, 8);
    QTest::newRow("sector 3") << Steps{"Sector 3: reds, page 70"} << "page" << "70";
    QTest::newRow("sector 24") << Steps{"Sector 24: purples, page 115"} << "page" << "115";
    QTest::newRow("my colours tab") << Steps{myColours} << "front" << "collection";
    QTest::newRow("card tab") << Steps{myColours, "Card 5327"} << "front" << "card";
    QTest::newRow("next entry") << Steps{myColours, "Next entry"} << "entry" << "2";
    QTest::newRow("previous entry wraps") << Steps{myColours, "Previous entry"} << "entry" << "3";
    QTest::newRow("add") << Steps{swatchName(1, 3), "Add to collection"} << "collection"
                         << (collection + QStringList{ProgramFolder::codeFor(1, 3)}).join(' ');
    QTest::newRow("delete") << Steps{myColours, "Delete entry"} << "collection"
                            << collection.mid(1).join(' ');
}

void AccessibilityTest::press()
{
    QFETCH(Steps, steps);
    QFETCH(QString, what);
    QFETCH(QString, expected);
    QVERIFY(run(steps));

    QString got;
    if (what == QLatin1String("page")) {
        got = QString::number(m_form->cardPanel()->pageShown());
    } else if (what == QLatin1String("selected")) {
        // The code is selected and the frame stands around its swatch.
        got = m_form->color_a();
        const Swatch *swatch = m_form->pagecolor(m_form->cardPanel()->indexOf(got));
        QVERIFY(swatch);
        QVERIFY(m_form->pageselect()->isVisible());
        QCOMPARE(m_form->pageselect()->geometry().center(), swatch->geometry().center());
    } else if (what == QLatin1String("front")) {
        got = m_form->tart_pb(1)->isVisible() ? QStringLiteral("collection") : QStringLiteral("card");
        QCOMPARE(m_form->tart_pb(0)->isVisible(), got == QLatin1String("card"));
    } else if (what == QLatin1String("entry")) {
        got = m_form->baby_num()->text();
    } else if (what == QLatin1String("collection")) {
        got = m_folder->collectionCodes().join(' ');
    }
    QCOMPARE(got, expected);
}

// Changes reach a screen reader as notifications of their own, read
// wherever the keyboard is, the last words also as the status bar's name;
// the notice itself stays hidden. The same words twice are two
// notifications.
void AccessibilityTest::announcement_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("said");

    const QString add = QStringLiteral("Add to collection");
    const QString code = ProgramFolder::codeFor(1, 3);
    const QString next = QStringLiteral("Next entry");
    QTest::newRow("page") << Steps{"Next page"} << QStringList{"Page 2, 8 colours"};
    QTest::newRow("sector") << Steps{"Sector 3: reds, page 70"} << QStringList{"Page 70, 8 colours"};
    QTest::newRow("found") << Steps{"code:" + ProgramFolder::codeFor(195, 5)}
                           << QStringList{ProgramFolder::codeFor(195, 5) + " found on page 195"};
    QTest::newRow("not found twice") << Steps{"code:T0.99.44", "code:T0.99.44"}
                                     << QStringList{"No colour T0.99.44", "No colour T0.99.44"};
    const QString framed = code + ", " + ColourWords::of(cardColour(1, 3).rgb()) + ", framed";
    QTest::newRow("swatch pressed") << Steps{swatchName(1, 3)} << QStringList{framed};
    QTest::newRow("added") << Steps{swatchName(1, 3), add} << QStringList{framed, "Added " + code + ", 4 colours"};
    QTest::newRow("skipped") << Steps{swatchName(1, 3), add, add}
                             << QStringList{framed, "Added " + code + ", 4 colours", code + " is in the collection already"};
    QTest::newRow("collection shown") << Steps{"My colours"} << QStringList{entryWords(0, 1, 3)};
    QTest::newRow("an entry of no card colour") << Steps{"My colours", "Previous entry"}
                                                << QStringList{entryWords(0, 1, 3), entryWords(2, 3, 3)};
    QTest::newRow("next entry") << Steps{"My colours", next}
                                << QStringList{entryWords(0, 1, 3), entryWords(1, 2, 3)};
    const QString deleted = "Deleted " + collection.first() + ", 2 left. " + entryWords(1, 1, 2);
    QTest::newRow("deleted, and what is shown now") << Steps{"My colours", "Delete entry"}
                                                    << QStringList{entryWords(0, 1, 3), deleted};
    QTest::newRow("nothing to undo") << Steps{"My colours", "key:Ctrl+Z"}
                                     << QStringList{entryWords(0, 1, 3), "Nothing to undo"};
    QTest::newRow("nothing to redo") << Steps{"key:Ctrl+Shift+Z"} << QStringList{"Nothing to redo"};
}

void AccessibilityTest::announcement()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, said);
    QVERIFY(run(steps));
    QCOMPARE(noticeName(), said.last());
    QVERIFY(m_form->findChild<Notice *>()->isHidden());
    auto *spoken = m_form->findChild<SpokenOutcome *>();
    QVERIFY(spoken);
    QCOMPARE(spoken->standing().mid(spoken->standing().size() - said.size()), said);
    // A notification no one sees: a screen reader finds it by its event.
    for (QAccessibleInterface *iface : tree())
        QVERIFY(iface->role() != QAccessible::Notification);
}

// Undo and redo show what they did; a screen reader hears after a redo,
// as after a delete, what is left and which entry is shown now.
void AccessibilityTest::redoSaysWhatIsLeft()
{
    QVERIFY(run({"My colours", "Delete entry", "key:Ctrl+Z", "key:Ctrl+Shift+Z"}));
    QCOMPARE(m_form->findChild<Notice *>()->text(), "Deleted " + collection.first());
    auto *spoken = m_form->findChild<SpokenOutcome *>();
    QVERIFY(spoken);
    QCOMPARE(spoken->standing().last(),
             "Deleted " + collection.first() + ", 2 left. " + entryWords(1, 1, 2));
}

// The swatch column is the list of the page's swatches, the framed one its
// selected item, focused while the column has the keyboard; a new page
// brings new items and none selected.
void AccessibilityTest::swatchList()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(m_form->cardPanel()->swatchColumn());
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Colours of the page"));
    QCOMPARE(list->childCount(), rowsPerPage);
    for (int i = 0; i < rowsPerPage; ++i) {
        QAccessibleInterface *item = list->child(i);
        QCOMPARE(item->object(), m_form->pagecolor(i + 1));
        QCOMPARE(item->text(QAccessible::Name), swatchName(1, i + 1));
        QCOMPARE(item->parent(), list);
        QCOMPARE(list->indexOfChild(item), i);
        QVERIFY(!item->state().selected);
    }
    QVERIFY(run({swatchName(1, 4)}));
    QVERIFY(list->child(3)->state().selected);
    QVERIFY(!list->child(3)->state().focused);  // the keyboard is elsewhere
    m_form->cardPanel()->swatchColumn()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(list->child(3)->state().focused);
    QCOMPARE(list->focusChild(), list->child(3));
    WindowDriver::key(Qt::Key_Down);
    QVERIFY(list->child(4)->state().selected && list->child(4)->state().focused);
    QVERIFY(!list->child(3)->state().selected && !list->child(3)->state().focused);
    WindowDriver::key(Qt::Key_PageDown);
    QCOMPARE(list->childCount(), rowsPerPage);
    QCOMPARE(list->child(0)->text(QAccessible::Name), swatchName(2, 1));
    for (int i = 0; i < rowsPerPage; ++i)
        QVERIFY(!list->child(i)->state().selected);
    QCOMPARE(list->focusChild(), list);
}

// Nothing a person cannot reach stands in the tree: not the hidden markers
// beside the swatches, not the swatch template, not the widget the swatches
// lie in; each swatch stands once, in its list.
void AccessibilityTest::nothingUnreachable()
{
    const QList<QAccessibleInterface *> all = tree();
    for (int i = 1; i <= 7; ++i) {
        QObject *marker = m_form->control(QStringLiteral("lab_dlt(%1)").arg(i));
        QVERIFY(marker);
        QVERIFY(std::none_of(all.cbegin(), all.cend(), [marker](QAccessibleInterface *iface) { return iface->object() == marker; }));
    }
    QObject *template0 = m_form->pagecolor(0);
    QVERIFY(std::none_of(all.cbegin(), all.cend(), [template0](QAccessibleInterface *iface) { return iface->object() == template0; }));
    for (int i = 1; i <= rowsPerPage; ++i) {
        QObject *swatch = m_form->pagecolor(i);
        QCOMPARE(std::count_if(all.cbegin(), all.cend(), [swatch](QAccessibleInterface *iface) { return iface->object() == swatch; }), 1);
    }
    for (QAccessibleInterface *iface : all) {
        if (iface->state().invisible || iface->role() == QAccessible::Window)
            continue;
        const QString what = iface->object() ? iface->object()->objectName() : iface->text(QAccessible::Name);
        QVERIFY2(!iface->text(QAccessible::Name).isEmpty() || !iface->text(QAccessible::Description).isEmpty(),
                 qPrintable(what + " has neither name nor description"));
    }
}

// The palette's 24 sectors and two tabs stand as its children, in the
// movie's order, each where the movie draws it.
void AccessibilityTest::paletteElements()
{
    MovieControl *palette = m_form->palettac();
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(palette);
    QCOMPARE(iface->childCount(), 2 + 24);

    const QPoint origin = palette->mapToGlobal(QPoint(0, 0));
    QAccessibleInterface *cardTab = iface->child(0);
    QAccessibleInterface *collectionTab = iface->child(1);
    QCOMPARE(cardTab->text(QAccessible::Name), QStringLiteral("Card 5327"));
    QCOMPARE(collectionTab->text(QAccessible::Name), QStringLiteral("My colours"));
    QCOMPARE(cardTab->role(), QAccessible::PageTab);
    QCOMPARE(collectionTab->role(), QAccessible::PageTab);
    // The movie is drawn at its own size: its tabs' rectangles are exact.
    QCOMPARE(cardTab->rect(), QRect(origin, QSize(76, 22)));
    QCOMPARE(collectionTab->rect(), QRect(origin + QPoint(77, 0), QSize(75, 22)));

    const QRect paletteRect(origin, palette->size());
    for (int k = 1; k <= 24; ++k) {
        QAccessibleInterface *sector = iface->child(1 + k);
        const QString name = sector->text(QAccessible::Name);
        QVERIFY2(name.startsWith(QStringLiteral("Sector %1: ").arg(k)), qPrintable(name));
        QVERIFY2(name.endsWith(QStringLiteral(", page %1").arg(sectorPages[k - 1])), qPrintable(name));
        QCOMPARE(sector->role(), QAccessible::Button);
        QCOMPARE(sector->parent(), iface);
        QCOMPARE(iface->indexOfChild(sector), 1 + k);
        // The middle of the sector's ring, clockwise from twelve o'clock
        // round the wheel's centre (76, 90), lies in its rectangle and is
        // where the palette finds it.
        const double angle = (k - 0.5) * 15 * M_PI / 180;
        const QPoint middle = origin + QPoint(qRound(76 + 41 * std::sin(angle)), qRound(90 - 41 * std::cos(angle)));
        QVERIFY(paletteRect.contains(sector->rect()));
        QVERIFY(sector->rect().contains(middle));
        QCOMPARE(iface->childAt(middle.x(), middle.y()), sector);
    }
}

// Drawn larger than its own size, the movie's elements grow with it and
// stay where it draws them.
void AccessibilityTest::elementsFollowTheScale()
{
    // Twice the palette's size, with room left above and below.
    MovieControl movie;
    movie.resize(304, 400);
    movie.setMovie(QStringLiteral(TESSELLE_SOURCE_DIR "/swf/kor.svg"));
    movie.show();
    QVERIFY(QTest::qWaitForWindowExposed(&movie));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&movie);
    QCOMPARE(iface->childCount(), 26);
    const QPoint origin = movie.mapToGlobal(QPoint(0, (400 - 314) / 2));
    QCOMPARE(iface->child(1)->rect(), QRect(origin + QPoint(154, 0), QSize(150, 44)));
    // The middle of sector 7's ring, round the wheel's centre at (152, 180)
    // from the drawing's corner.
    const double angle = 6.5 * 15 * M_PI / 180;
    const QPoint inSector7 = origin + QPoint(qRound(152 + 82 * std::sin(angle)), qRound(180 - 82 * std::cos(angle)));
    QVERIFY(iface->child(1 + 7)->rect().contains(inSector7));
    QCOMPARE(iface->childAt(inSector7.x(), inSector7.y()), iface->child(1 + 7));
}

void AccessibilityTest::captionsLabelTheirBoxes()
{
    const struct
    {
        const char *label;
        const char *box;
    } pairs[] = {{"e_label(1)", "pagen_text"}, {"e_label(2)", "findcode_txt1"}};
    for (const auto &pair : pairs) {
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(m_form->control(QLatin1String(pair.box)));
        QAccessibleInterface *label = QAccessible::queryAccessibleInterface(m_form->control(QLatin1String(pair.label)));
        const auto relations = box->relations(QAccessible::Label);
        QVERIFY2(std::any_of(relations.cbegin(), relations.cend(), [label](const auto &r) { return r.first == label; }),
                 pair.box);
    }
}

// The intro is a button over the window; pressed, it goes, and a screen
// reader finds it no more.
void AccessibilityTest::introLeavesWhenPressed()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QAccessibleInterface *intro = shown(QStringLiteral("Introduction"));
    QVERIFY(intro);
    QCOMPARE(intro->role(), QAccessible::Button);
    QVERIFY(run({QStringLiteral("Introduction")}));
    QVERIFY(m_form->intro_swf()->isHidden());
    QVERIFY(intro->state().invisible);
    QVERIFY(!shown(QStringLiteral("Introduction")));
}

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
