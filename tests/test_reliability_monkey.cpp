// Twenty thousand random keys, pastes, clicks and movie commands over the
// whole window, with the window's invariants checked after every one.
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "app/Form1.h"
#include "app/PictureBox.h"
#include "app/TextBox.h"
#include "movies/MovieControl.h"
#include "pages/Swatch.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSet>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {

constexpr quint32 seed = 5327;
constexpr int eventCount = 20000;
constexpr int pages = 12;
constexpr int rowsPerPage = 8;

// Texts a person might type or paste, hostile ones above all.
const QStringList hostileTexts = {
    QStringLiteral("K8.04.43"), QStringLiteral("t0.03.04"), QStringLiteral("\"; drop table baby2; --"),
    QStringLiteral("' or '1'='1"), QStringLiteral("%_%"), QStringLiteral("\\\\"),
    QStringLiteral("\t\r\n"), QStringLiteral("\u00e9\u00df\u0416"), QStringLiteral("999"),
    QStringLiteral("-5"), QStringLiteral("1.5"), QString()};

const QStringList commandTexts = {QString(),          QStringLiteral("5327"), QStringLiteral("1"),
                                  QStringLiteral("9"), QStringLiteral("24"),   QStringLiteral("0"),
                                  QStringLiteral("25"), QStringLiteral(" 7"),  QStringLiteral("abc"),
                                  QStringLiteral("click")};

const int keys[] = {Qt::Key_A,      Qt::Key_K,     Qt::Key_T,      Qt::Key_Z,      Qt::Key_0,
                    Qt::Key_3,      Qt::Key_4,     Qt::Key_8,      Qt::Key_9,      Qt::Key_Period,
                    Qt::Key_Minus,  Qt::Key_Space, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Tab,
                    Qt::Key_Left,   Qt::Key_Right, Qt::Key_Home,   Qt::Key_End,    Qt::Key_Delete,
                    Qt::Key_Shift,  Qt::Key_QuoteDbl, Qt::Key_Apostrophe, Qt::Key_Backslash,
                    Qt::Key_Percent, Qt::Key_Underscore, Qt::Key_Semicolon, Qt::Key_Escape};

const QString specialCharacters = QStringLiteral("\u00e9\u00df\u0416\u0001\u007f");

} // namespace

class MonkeyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void randomEventsKeepInvariants();

private:
    void sendRandomEvent(QRandomGenerator &random, bool *mayChangeCollection);
    QString checkWindow() const;
    QString checkCollection() const;
    QStringList collection() const;

    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<Form1> m_form;
    QSqlDatabase m_db;
};

void MonkeyTest::init()
{
    m_folder = std::make_unique<ProgramFolder>();
    QVector<CardRow> card = ProgramFolder::card(pages, rowsPerPage);
    card[2 * rowsPerPage + 3].code = QStringLiteral("K8.04.43");  // page 3, row 4
    m_folder->createDatabase(card);
    m_folder->addCollectionRows({{"5327", ProgramFolder::codeFor(1, 1)}, {"5327", ProgramFolder::codeFor(2, 5)}});
    m_form = std::make_unique<Form1>(m_folder->path());
    QVERIFY(WindowDriver::showReady(*m_form));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("monkey"));
    m_db.setDatabaseName(m_folder->databasePath());
    QVERIFY(m_db.open());
}

void MonkeyTest::cleanup()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("monkey"));
    m_form.reset();
    m_folder.reset();
}

QStringList MonkeyTest::collection() const
{
    QStringList codes;
    QSqlQuery query(QStringLiteral("select code from baby2 order by sn"), m_db);
    while (query.next())
        codes.append(query.value(0).toString());
    return codes;
}

// The swatches are exactly the rows of one page, in order, and at most one
// of them is framed.
QString MonkeyTest::checkWindow() const
{
    const Form1 &f = *m_form;
    const int shown = f.pagecolor.count() - 1;
    if (shown > 0) {
        const QString first = f.pagecolor(1)->toolTip();
        const int page = first == QLatin1String("K8.04.43") ? 3 : first.mid(3, 2).toInt();
        if (shown != rowsPerPage)
            return QStringLiteral("page %1 shows %2 swatches").arg(page).arg(shown);
        for (int i = 1; i <= shown; ++i) {
            QString expected = ProgramFolder::codeFor(page, i);
            if (page == 3 && i == 4)
                expected = QStringLiteral("K8.04.43");
            if (!f.pagecolor(i) || f.pagecolor(i)->toolTip() != expected)
                return QStringLiteral("swatch %1 of page %2 is not its row").arg(i).arg(page);
        }
    }
    if (f.findChildren<Swatch *>().size() != shown + 1)
        return QStringLiteral("a swatch of another page survived");
    if (f.pageselect->isVisible()) {
        int framed = 0;
        for (int i = 1; i <= shown; ++i)
            framed += f.pagecolor(i)->geometry().center() == f.pageselect->geometry().center();
        if (framed != 1)
            return QStringLiteral("the frame surrounds %1 swatches").arg(framed);
    }
    return {};
}

// The collection panel, when in front, agrees with the database; no code is
// collected twice.
QString MonkeyTest::checkCollection() const
{
    const Form1 &f = *m_form;
    const QStringList codes = collection();
    if (QSet<QString>(codes.cbegin(), codes.cend()).size() != codes.size())
        return QStringLiteral("a code is collected twice");
    if (f.tart_pb(1)->isHidden())
        return {};
    if (f.baby_nummax->text() != QStringLiteral("/%1").arg(codes.size()))
        return QStringLiteral("the panel says %1 of %2 entries").arg(f.baby_nummax->text()).arg(codes.size());
    const int position = f.baby_num->text().toInt();
    if (codes.isEmpty())
        return f.baby_num->text() == QLatin1String("0") ? QString()
                                                        : QStringLiteral("empty, yet at position %1").arg(f.baby_num->text());
    if (position < 1 || position > codes.size())
        return QStringLiteral("position %1 of %2").arg(position).arg(codes.size());
    if (f.baby_code->text() != codes.at(position - 1))
        return QStringLiteral("entry %1 shows %2, not %3").arg(position).arg(f.baby_code->text(), codes.at(position - 1));
    return {};
}

void MonkeyTest::sendRandomEvent(QRandomGenerator &random, bool *mayChangeCollection)
{
    *mayChangeCollection = false;
    Form1 &f = *m_form;
    const int kind = int(random.bounded(100));
    QWidget *focus = QApplication::focusWidget();
    if (kind < 40) {
        if (!focus)
            focus = &f;
        if (random.bounded(8) == 0) {
            const QChar c = specialCharacters.at(int(random.bounded(specialCharacters.size())));
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
        } else {
            const int key = keys[random.bounded(int(sizeof(keys) / sizeof(keys[0])))];
            const Qt::KeyboardModifiers modifiers = random.bounded(6) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
            QTest::keyClick(focus, Qt::Key(key), modifiers);
        }
    } else if (kind < 48) {
        if (auto *edit = qobject_cast<QLineEdit *>(focus)) {
            QApplication::clipboard()->setText(hostileTexts.at(int(random.bounded(hostileTexts.size()))));
            // As a person pastes: Ctrl+V or Shift+Insert.
            if (random.bounded(2))
                QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
            else
                QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        }
    } else if (kind < 85) {
        const QPoint at(int(random.bounded(f.width())), int(random.bounded(f.height())));
        QTest::mouseClick(f.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        *mayChangeCollection = true;  // a click may land on the add or delete button
    } else {
        // A command from a movie a person can reach: shown, in a shown panel.
        MovieControl *movies[] = {f.palettac, f.next_swf, f.previous_swf, f.nextb_swf,
                                  f.previousb_swf, f.addtobaby_swf, f.deleteb_swf};
        MovieControl *movie = movies[random.bounded(int(sizeof(movies) / sizeof(movies[0])))];
        if (movie->isVisible() && movie->isEnabled()) {
            emit movie->FSCommand(commandTexts.at(int(random.bounded(commandTexts.size()))), QString());
            *mayChangeCollection = movie == f.addtobaby_swf || movie == f.deleteb_swf;
        }
    }
}

void MonkeyTest::randomEventsKeepInvariants()
{
    FailureRecorder failures;
    QRandomGenerator random(seed);
    QStringList before = collection();
    int collectionChanges = 0;
    QSet<QString> pagesSeen;
    for (int event = 0; event < eventCount; ++event) {
        bool mayChangeCollection = false;
        sendRandomEvent(random, &mayChangeCollection);
        const QString context = QStringLiteral("seed %1, event %2: ").arg(seed).arg(event);
        QVERIFY2(m_form && m_form->isVisible(), qPrintable(context + QStringLiteral("the window is gone")));
        QVERIFY2(failures.failures.isEmpty(), qPrintable(context + failures.failures.value(0).text()));
        const QString window = checkWindow();
        QVERIFY2(window.isEmpty(), qPrintable(context + window));
        pagesSeen.insert(m_form->pagen_text->text());
        // Typed and pasted text never changes the collection.
        if (!mayChangeCollection || event % 20 == 0) {
            const QStringList now = collection();
            QVERIFY2(mayChangeCollection || now == before,
                     qPrintable(context + QStringLiteral("the collection changed without its buttons")));
            const QString panel = checkCollection();
            QVERIFY2(panel.isEmpty(), qPrintable(context + panel));
            before = now;
        } else {
            const QStringList now = collection();
            collectionChanges += now != before;
            before = now;
        }
    }
    qInfo("%d events: %d changes to the collection, %lld page numbers seen", eventCount,
          collectionChanges, static_cast<long long>(pagesSeen.size()));
    // The run reached the collection and the card, or it proved little.
    QVERIFY(collectionChanges > 0);
    QVERIFY(pagesSeen.size() > 3);
    const QString panel = checkCollection();
    QVERIFY2(panel.isEmpty(), qPrintable(panel));
}

QTEST_MAIN(MonkeyTest)
#include "test_reliability_monkey.moc"
