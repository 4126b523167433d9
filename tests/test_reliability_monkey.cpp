// SPDX-License-Identifier: MIT
// A seeded storm of keys, pastes, clicks and movie commands over the whole
// window. After every event the window must still tell the truth: the
// swatches are one page of the card, at most one is framed, the collection
// panel agrees with the database, and the database changes only through the
// add and delete buttons, exactly as they say.
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "card/CardPanel.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <memory>

namespace {

constexpr quint32 seed = 5327020;
constexpr int events = 20000;
constexpr int databaseCheckEvery = 20;
constexpr int cardPages = 204;
constexpr int emptyPage = 150;  // a page number of the card without colours

// The card: 8 rows a page, a few rows missing here and there, and one page
// with none at all.
QVector<CardRow> fixtureCard()
{
    QVector<CardRow> rows;
    int sn = 0;
    for (int page = 1; page <= cardPages; ++page) {
        for (int row = 1; row <= 8; ++row) {
            if (page == emptyPage || (page * 7 + row) % 19 == 0)
                continue;
            rows.append(ProgramFolder::rowFor(++sn, page, row));
        }
    }
    return rows;
}

struct Entry
{
    QString table;
    QString code;
    bool operator==(const Entry &o) const { return table == o.table && code == o.code; }
};
using Collection = QVector<Entry>;

QString describe(const Collection &c)
{
    QStringList parts;
    for (const Entry &e : c)
        parts.append(e.table + QLatin1Char('|') + e.code);
    return QLatin1Char('[') + parts.join(QLatin1Char(',')) + QLatin1Char(']');
}

// Texts a person might paste, or an attacker.
const QStringList hostileTexts = {
    QStringLiteral("'; DROP TABLE baby2; --"),
    QStringLiteral("\" OR \"1\"=\"1"),
    QStringLiteral("' OR 1=1 --"),
    QStringLiteral("T0.05.03"),
    QStringLiteral("t0.05.03"),
    QStringLiteral("T0"),
    QStringLiteral("05"),
    QStringLiteral("03"),
    QStringLiteral("%"),
    QStringLiteral("_"),
    QStringLiteral("%_"),
    QStringLiteral("\\"),
    QStringLiteral("\\'"),
    QStringLiteral(";"),
    QStringLiteral("Ж"),
    QStringLiteral("éß"),
    QStringLiteral("\U0001F600"),
    QStringLiteral("\u202e12"),
    QStringLiteral("\u00a07"),
    QStringLiteral("\n"),
    QStringLiteral("\r\n12"),
    QStringLiteral("\t"),
    QString(QChar(0)) + QStringLiteral("1"),
    QString(5000, QLatin1Char('9')),
    QStringLiteral("1e308"),
    QStringLiteral("-1"),
    QStringLiteral("0"),
    QStringLiteral("999"),
    QStringLiteral("150"),
    QStringLiteral("204"),
    QStringLiteral("205"),
    QStringLiteral("NaN"),
    QStringLiteral("inf"),
    QStringLiteral("0x1F"),
    QStringLiteral("1,5"),
    QStringLiteral(" 7"),
    QString(),
};

const QStringList commandTexts = {
    QString(), QStringLiteral("5327"), QStringLiteral("0"), QStringLiteral("25"),
    QStringLiteral(" 7"), QStringLiteral("abc"), QStringLiteral("05327"), QStringLiteral("-1"),
    QStringLiteral("1.5"), QStringLiteral("click"),
};

// Characters typed one key at a time.
const QString typedCharacters = QStringLiteral(
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\"'\\%_;. -éßЖ€");

const Qt::Key specialKeys[] = {
    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Backspace, Qt::Key_Tab,  Qt::Key_Backtab,
    Qt::Key_Left,   Qt::Key_Right, Qt::Key_Up,        Qt::Key_Down, Qt::Key_Home,
    Qt::Key_End,    Qt::Key_Delete, Qt::Key_Escape,   Qt::Key_Space, Qt::Key_Insert,
    Qt::Key_PageUp, Qt::Key_PageDown,
};

} // namespace

class MonkeyTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storm();
    void cleanupTestCase();

private:
    // One random event; returns what it was.
    QString randomEvent();
    QString keyEvent();
    QString pasteEvent();
    QString clickEvent();
    QString commandEvent();
    QString typeCodeEvent();

    // The invariants; each returns what is wrong, or an empty text.
    QString checkSwatches() const;
    QString checkPanels() const;
    QString checkDatabase() const;

    Collection readCollection() const;
    QString cardDump() const;
    QList<QWidget *> reachable(const QList<QWidget *> &widgets) const;
    QWidget *keyTarget() const;

    // What the collection panel showed before the event, for a delete.
    struct Shown
    {
        bool front = false;
        int position = 0;
        QString code;
    };
    void onAdd();
    void onDelete();

    std::unique_ptr<FailureRecorder> m_failures;
    std::unique_ptr<ProgramFolder> m_folder;
    QPointer<TestWindow> m_form;
    QRandomGenerator m_random{seed};

    QHash<QString, int> m_pageOf;          // code -> page
    QHash<int, QStringList> m_pageCodes;   // page -> codes by row
    QHash<QString, QColor> m_colourOf;     // code -> colour
    QString m_cardBefore;

    Collection m_collection;  // what the database holds, as far as the test knows
    Shown m_shownBefore;
    QString m_commandError;   // a wrong outcome of an add or delete
    int m_adds = 0;
    int m_deletes = 0;
    int m_landed = 0;         // adds and deletes that changed the collection
    int m_found = 0;          // codes typed and found
    mutable QSet<int> m_pagesShown;
};

void MonkeyTest::initTestCase()
{
    m_failures = std::make_unique<FailureRecorder>();
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(fixtureCard());
    m_folder->addCardTable(QStringLiteral("6000"), {CardRow{1, 1, 1, QStringLiteral("Q1.00.00"), 1, 2, 3}});
    // Entries of another card, of no card and of no colour, beside this one's.
    m_folder->addCollectionRows({{"5327", ProgramFolder::codeFor(5, 3)},
                                 {"6000", "Q1.00.00"},
                                 {"nope", "X"},
                                 {"5327", "NOTACODE"},
                                 {"5327", ProgramFolder::codeFor(200, 8)}});

    // The card as the database holds it, read once: nothing may change it.
    const QVariantList pages = m_folder->column(QStringLiteral("select Page from \"5327\" order by Page, Row"));
    const QVariantList codes = m_folder->column(QStringLiteral("select Code from \"5327\" order by Page, Row"));
    const QVariantList colours = m_folder->column(
        QStringLiteral("select R * 65536 + G * 256 + B from \"5327\" order by Page, Row"));
    QCOMPARE(codes.size(), pages.size());
    for (int i = 0; i < codes.size(); ++i) {
        const QString code = codes.at(i).toString();
        m_pageOf.insert(code, pages.at(i).toInt());
        m_pageCodes[pages.at(i).toInt()].append(code);
        m_colourOf.insert(code, QColor::fromRgb(QRgb(colours.at(i).toUInt())));
    }
    m_cardBefore = cardDump();
    m_collection = readCollection();

    m_form = new TestWindow(m_folder->path());
    QVERIFY(WindowDriver::showReady(*m_form));
    // Observers run after the window's own handlers.
    connect(m_form->addtobaby_swf(), &MovieControl::FSCommand, this, [this] { onAdd(); });
    connect(m_form->deleteb_swf(), &MovieControl::FSCommand, this, [this] { onDelete(); });
}

void MonkeyTest::cleanupTestCase()
{
    delete m_form;
    m_folder.reset();
    m_failures.reset();
}

Collection MonkeyTest::readCollection() const
{
    const QVariantList tables = m_folder->column(QStringLiteral("select ccard_name from baby2 order by sn"));
    const QVariantList codes = m_folder->column(QStringLiteral("select code from baby2 order by sn"));
    Collection c;
    for (int i = 0; i < codes.size() && i < tables.size(); ++i)
        c.append({tables.at(i).toString(), codes.at(i).toString()});
    return c;
}

QString MonkeyTest::cardDump() const
{
    const QVariantList schema = m_folder->column(QStringLiteral("select sql from sqlite_master order by name"));
    const QVariantList rows = m_folder->column(QStringLiteral(
        "select Sn || '|' || Page || '|' || Row || '|' || Code || '|' || R || '|' || G || '|' || B"
        " from \"5327\" order by Sn"));
    QStringList parts;
    for (const QVariant &v : schema + rows)
        parts.append(v.toString());
    return parts.join(QLatin1Char('\n'));
}

QList<QWidget *> MonkeyTest::reachable(const QList<QWidget *> &widgets) const
{
    // A person reaches a control that is shown and enabled, together with
    // every panel it lies on.
    QList<QWidget *> result;
    for (QWidget *w : widgets) {
        if (w && w->isVisible() && w->isEnabled())
            result.append(w);
    }
    return result;
}

QWidget *MonkeyTest::keyTarget() const
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus : m_form.data();
}

QString MonkeyTest::keyEvent()
{
    QWidget *target = keyTarget();
    Qt::Key key;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    const int kind = int(m_random.bounded(10));
    if (kind < 6) {
        const QChar c = typedCharacters.at(int(m_random.bounded(typedCharacters.size())));
        key = Qt::Key(c.toUpper().unicode());
        text = c;
        if (c.isUpper())
            modifiers = Qt::ShiftModifier;
    } else if (kind < 8) {
        key = specialKeys[m_random.bounded(int(std::size(specialKeys)))];
        text = key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r")
               : key == Qt::Key_Backspace                    ? QStringLiteral("\b")
               : key == Qt::Key_Tab                          ? QStringLiteral("\t")
               : key == Qt::Key_Space                        ? QStringLiteral(" ")
               : key == Qt::Key_Escape                       ? QStringLiteral("\x1b")
                                                             : QString();
    } else if (kind < 9) {
        // Ctrl with a letter: select all, copy, cut, undo, paste, ...
        const int letter = int(m_random.bounded(26));
        key = Qt::Key(Qt::Key_A + letter);
        text = QChar(char16_t(letter + 1));
        modifiers = Qt::ControlModifier;
    } else {
        // A bare control character, as some keyboards and input methods send.
        const int code = 1 + int(m_random.bounded(31));
        key = Qt::Key_unknown;
        text = QChar(char16_t(code));
    }
    const int how = int(m_random.bounded(20));
    const QString what = QStringLiteral("key %1 text U+%2 mods %3 to %4")
                             .arg(int(key), 0, 16)
                             .arg(text.isEmpty() ? 0 : text.at(0).unicode(), 4, 16, QLatin1Char('0'))
                             .arg(int(modifiers), 0, 16)
                             .arg(target->objectName());
    if (how == 0) {
        QTest::sendKeyEvent(QTest::Press, target, key, text, modifiers);
        return what + QStringLiteral(" (press only)");
    }
    if (how == 1) {
        QTest::sendKeyEvent(QTest::Release, target, key, text, modifiers);
        return what + QStringLiteral(" (release only)");
    }
    QTest::sendKeyEvent(QTest::Press, target, key, text, modifiers);
    // The release goes wherever the focus is now, as a keyboard's does.
    QTest::sendKeyEvent(QTest::Release, keyTarget(), key, text, modifiers);
    // Keys that add, delete, undo or redo change the collection as the
    // keyboard tests check in detail; here their change is taken as it is,
    // and the invariants (no code twice, the panel agreeing) still hold.
    const bool changesCollection = key == Qt::Key_Insert || key == Qt::Key_Delete || key == Qt::Key_A
        || ((modifiers & Qt::ControlModifier) && (key == Qt::Key_Z || key == Qt::Key_Return || key == Qt::Key_Enter));
    if (changesCollection)
        m_collection = readCollection();
    return what;
}

QString MonkeyTest::pasteEvent()
{
    const QString text = hostileTexts.at(int(m_random.bounded(hostileTexts.size())));
    QApplication::clipboard()->setText(text);
    auto *box = qobject_cast<TextBox *>(QApplication::focusWidget());
    if (!box) {
        // Click into a box first, as a person would.
        const QList<QWidget *> boxes = reachable({m_form->pagen_text(), m_form->findcode_txt1(), m_form->findcode_txt2(),
                                                  m_form->findcode_txt3(), m_form->baby_code(), m_form->baby_num()});
        if (boxes.isEmpty())
            return QStringLiteral("paste with no box to paste into");
        QWidget *target = boxes.at(int(m_random.bounded(boxes.size())));
        WindowDriver::clickThroughWindow(target, target->rect().center());
        box = qobject_cast<TextBox *>(QApplication::focusWidget());
        if (!box)
            return QStringLiteral("paste: a click on %1 gave it no focus").arg(target->objectName());
    }
    const QString what = QStringLiteral("paste \"%1\" into %2").arg(text.left(40), box->objectName());
    switch (m_random.bounded(3)) {
    case 0:
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        return what + QStringLiteral(" by Ctrl+V");
    case 1:
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        return what + QStringLiteral(" by Shift+Insert");
    default:
        // Straight into the line edit, past the box's own length limit.
        // QLineEdit::paste() ignores read-only, which no person can: the
        // keys above try read-only boxes.
        if (box->isReadOnly())
            return what + QStringLiteral(" skipped: read-only");
        box->paste();
        return what + QStringLiteral(" by paste()");
    }
}

QString MonkeyTest::clickEvent()
{
    QPoint at;
    if (m_random.bounded(2) == 0) {
        at = QPoint(int(m_random.bounded(m_form->width())), int(m_random.bounded(m_form->height())));
    } else {
        // Somewhere on a control a person would aim at.
        QList<QWidget *> aims = reachable({m_form->palettac(), m_form->next_swf(), m_form->previous_swf(),
                                           m_form->nextb_swf(), m_form->previousb_swf(), m_form->addtobaby_swf(),
                                           m_form->deleteb_swf(), m_form->pagen_text(), m_form->findcode_txt1(),
                                           m_form->baby_code()});
        for (int index : m_form->cardPanel()->pagecolorIndexes()) {
            if (index >= 1 && m_form->pagecolor(index) && m_form->pagecolor(index)->isVisible())
                aims.append(m_form->pagecolor(index));
        }
        QWidget *aim = aims.isEmpty() ? m_form.data() : aims.at(int(m_random.bounded(aims.size())));
        at = aim->mapTo(m_form, QPoint(int(m_random.bounded(aim->width())), int(m_random.bounded(aim->height()))));
    }
    QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    return QStringLiteral("click at %1,%2").arg(at.x()).arg(at.y());
}

QString MonkeyTest::commandEvent()
{
    const QList<MovieControl *> all = {m_form->intro_swf(),     m_form->palettac(),      m_form->next_swf(),
                                       m_form->previous_swf(),  m_form->nextb_swf(),     m_form->previousb_swf(),
                                       m_form->addtobaby_swf(), m_form->deleteb_swf()};
    QList<MovieControl *> movies;
    for (MovieControl *m : all) {
        if (m->isVisible() && m->isEnabled())
            movies.append(m);
    }
    if (movies.isEmpty())
        return QStringLiteral("no movie to raise a command on");
    MovieControl *movie = movies.at(int(m_random.bounded(movies.size())));
    const int pick = int(m_random.bounded(commandTexts.size() + 24));
    const QString command = pick < commandTexts.size() ? commandTexts.at(pick) : QString::number(pick - commandTexts.size() + 1);
    const QString args = m_random.bounded(4) == 0 ? QStringLiteral("x") : QString();
    emit movie->FSCommand(command, args);
    return QStringLiteral("command \"%1\" on %2").arg(command, movie->objectName());
}

QString MonkeyTest::typeCodeEvent()
{
    // A code of the card typed into the code fields, in any case, and Enter.
    if (!m_form->findcode_txt1()->isVisible())
        return QStringLiteral("no code fields to type into");
    WindowDriver::clickThroughWindow(m_form->findcode_txt1(), m_form->findcode_txt1()->rect().center());
    const QList<QString> codes = m_pageOf.keys();
    QString code = codes.at(int(m_random.bounded(codes.size())));
    if (m_random.bounded(2) == 0)
        code = code.toLower();
    WindowDriver::type(code.left(2) + code.mid(3, 2) + code.right(2));
    WindowDriver::key(Qt::Key_Return);
    if (m_form->icode_char() == 0)
        ++m_found;
    return QStringLiteral("type code %1 and Enter").arg(code);
}

QString MonkeyTest::randomEvent()
{
    const int kind = int(m_random.bounded(100));
    if (kind < 2)
        return typeCodeEvent();
    if (kind < 40)
        return keyEvent();
    if (kind < 48)
        return pasteEvent();
    if (kind < 85)
        return clickEvent();
    return commandEvent();
}

void MonkeyTest::onAdd()
{
    ++m_adds;
    Collection expected = m_collection;
    const QString code = m_form->color_a();
    bool known = false;
    for (const Entry &e : std::as_const(m_collection))
        known = known || e.code == code;
    if (!code.isEmpty() && !known)
        expected.append({m_form->ccc(), code});
    const Collection actual = readCollection();
    if (actual != expected && m_commandError.isEmpty()) {
        m_commandError = QStringLiteral("adding \"%1\": expected %2, found %3")
                             .arg(code, describe(expected), describe(actual));
    }
    m_landed += actual != m_collection ? 1 : 0;
    m_collection = actual;
}

void MonkeyTest::onDelete()
{
    ++m_deletes;
    // Only the entry shown on the collection panel in front can go.
    Collection expected = m_collection;
    const Shown &shown = m_shownBefore;
    if (shown.front && shown.position >= 1 && shown.position <= expected.size()) {
        if (expected.at(shown.position - 1).code != shown.code && m_commandError.isEmpty())
            m_commandError = QStringLiteral("delete: the panel showed %1 at %2 of %3")
                                 .arg(shown.code).arg(shown.position).arg(describe(expected));
        expected.removeAt(shown.position - 1);
    }
    const Collection actual = readCollection();
    if (actual != expected && m_commandError.isEmpty()) {
        m_commandError = QStringLiteral("deleting entry %1 (\"%2\"): expected %3, found %4")
                             .arg(shown.position)
                             .arg(shown.code, describe(expected), describe(actual));
    }
    m_landed += actual != m_collection ? 1 : 0;
    m_collection = actual;
}

QString MonkeyTest::checkSwatches() const
{
    // The swatches in the column: indexes 1 ... n, each shown, with no
    // other swatch left standing on the panel.
    QStringList codes;
    QList<Swatch *> column;
    for (int index : m_form->cardPanel()->pagecolorIndexes()) {
        if (index < 1)
            continue;
        Swatch *s = m_form->pagecolor(index);
        if (!s)
            return QStringLiteral("swatch %1 is gone but still listed").arg(index);
        if (index != column.size() + 1)
            return QStringLiteral("swatch indexes skip to %1").arg(index);
        if (s->isHidden())
            return QStringLiteral("swatch %1 is hidden").arg(index);
        column.append(s);
        codes.append(s->toolTip());
    }
    int standing = 0;
    for (Swatch *s : m_form->tart_pb(0)->findChildren<Swatch *>()) {
        if (!s->isHidden())
            ++standing;
    }
    if (standing != column.size())
        return QStringLiteral("%1 swatches stand on the panel, %2 in the column").arg(standing).arg(column.size());

    // Exactly the colours of one page, in row order, in their colours.
    if (!column.isEmpty()) {
        const int page = m_pageOf.value(codes.first(), -1);
        if (page < 0)
            return QStringLiteral("swatch 1 shows \"%1\", which is no code of the card").arg(codes.first());
        m_pagesShown.insert(page);
        if (codes != m_pageCodes.value(page))
            return QStringLiteral("swatches %1 are not page %2: %3")
                .arg(codes.join(QLatin1Char(',')))
                .arg(page)
                .arg(m_pageCodes.value(page).join(QLatin1Char(',')));
        for (Swatch *s : std::as_const(column)) {
            if (s->backColor() != m_colourOf.value(s->toolTip()))
                return QStringLiteral("swatch %1 has the wrong colour").arg(s->toolTip());
        }
    }

    // At most one swatch framed: the frame surrounds one of them by 2 px.
    if (!m_form->pageselect()->isHidden()) {
        int framed = 0;
        for (Swatch *s : std::as_const(column)) {
            if (m_form->pageselect()->pos() == s->pos() - QPoint(2, 2)
                && m_form->pageselect()->size() == s->size() + QSize(4, 4))
                ++framed;
        }
        if (framed != 1)
            return QStringLiteral("the frame at %1,%2 surrounds %3 swatches")
                .arg(m_form->pageselect()->x())
                .arg(m_form->pageselect()->y())
                .arg(framed);
    }
    return QString();
}

QString MonkeyTest::checkPanels() const
{
    const bool card = !m_form->tart_pb(0)->isHidden();
    const bool collection = !m_form->tart_pb(1)->isHidden();
    if (card == collection)
        return QStringLiteral("card panel shown: %1, collection panel shown: %2").arg(card).arg(collection);
    if (!collection)
        return QString();

    const QString num = m_form->baby_num()->text();
    const QString max = m_form->baby_nummax()->text();
    const int count = int(m_collection.size());
    if (num == QLatin1String("0")) {
        if (max != QLatin1String("/0") || count != 0)
            return QStringLiteral("empty panel \"%1 %2\" over a collection of %3").arg(num, max).arg(count);
        return QString();
    }
    bool ok = false;
    const int position = num.toInt(&ok);
    if (max != QStringLiteral("/%1").arg(count))
        return QStringLiteral("panel says \"%1\", the collection holds %2").arg(max).arg(count);
    if (!ok || position < 1 || position > count)
        return QStringLiteral("panel shows entry \"%1\" of %2").arg(num).arg(count);
    if (m_form->baby_code()->text() != m_collection.at(position - 1).code)
        return QStringLiteral("entry %1 shows \"%2\", the database holds \"%3\"")
            .arg(position)
            .arg(m_form->baby_code()->text(), m_collection.at(position - 1).code);
    return QString();
}

QString MonkeyTest::checkDatabase() const
{
    const Collection actual = readCollection();
    if (actual != m_collection)
        return QStringLiteral("the collection changed without the add or delete button: expected %1, found %2")
            .arg(describe(m_collection), describe(actual));
    QSet<QString> codes;
    for (const Entry &e : actual) {
        if (codes.contains(e.code))
            return QStringLiteral("\"%1\" is collected twice").arg(e.code);
        codes.insert(e.code);
    }
    return QString();
}

void MonkeyTest::storm()
{
    QElapsedTimer timer;
    timer.start();
    QStringList recent;  // the last events, for the failure message
    for (int i = 0; i < events; ++i) {
        m_shownBefore = {!m_form->tart_pb(1)->isHidden(), m_form->baby_num()->text().toInt(),
                         m_form->baby_code()->text()};
        recent.append(randomEvent());
        if (recent.size() > 8)
            recent.removeFirst();
        // A key may have opened a dialog or a menu of the window's (Ctrl+F,
        // the menu key): the storm goes on in the window itself.
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top != m_form.data() && top->isVisible() && !top->inherits("QToolTip")
                && !top->inherits("QTipLabel"))
                top->close();
        }
        if (QApplication::activeWindow() != m_form.data())
            m_form->activateWindow();
        if (i % 4 == 0)
            QCoreApplication::processEvents();

        const bool full = i % databaseCheckEvery == 0 || i == events - 1;
        QString error;
        if (!m_form)
            error = QStringLiteral("the window is gone");
        else if (!m_failures->failures.isEmpty())
            error = QStringLiteral("database failure: ") + m_failures->failures.first().text();
        else if (!m_commandError.isEmpty())
            error = m_commandError;
        if (error.isEmpty())
            error = checkSwatches();
        if (error.isEmpty())
            error = checkPanels();
        if (error.isEmpty() && full)
            error = checkDatabase();
        QVERIFY2(error.isEmpty(),
                 qPrintable(QStringLiteral("seed %1, event %2: %3\nlast events:\n  %4")
                                .arg(seed)
                                .arg(i)
                                .arg(error, recent.join(QStringLiteral("\n  ")))));
    }
    QCOMPARE(cardDump(), m_cardBefore);
    QCOMPARE(m_folder->column(QStringLiteral("pragma integrity_check")).value(0).toString(), QStringLiteral("ok"));
    QSet<QString> folded;
    for (const Entry &e : std::as_const(m_collection))
        folded.insert(e.code.toUpper());
    qInfo("%d events in %d ms: %d pages shown, %d codes typed and found, %d add and %d delete "
          "commands, %d of them changed the collection, which ends with %d entries (%d differing "
          "only in case)",
          events, int(timer.elapsed()), int(m_pagesShown.size()), m_found, m_adds, m_deletes, m_landed,
          int(m_collection.size()), int(m_collection.size() - folded.size()));
    // The storm reached the card, the code search and the collection.
    QVERIFY(m_pagesShown.size() > 20);
    QVERIFY(m_found > 0);
    QVERIFY(m_landed > 0);
}

QTEST_MAIN(MonkeyTest)
#include "test_reliability_monkey.moc"
