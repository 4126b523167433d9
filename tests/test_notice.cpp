// SPDX-License-Identifier: MIT
// The notice on its own: over its parent for a few seconds, clicks pass
// through it, and a screen reader finds it as a status bar named by its
// message.
#include "widgets/Notice.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

class NoticeTest : public QObject
{
    Q_OBJECT

private slots:
    void saysAndGoes();
    void clicksPassThrough();
    void wholeMessageGrowingUpward_data();
    void wholeMessageGrowingUpward();
    void longerStaysLongerRefusalUntilAction();
};

void NoticeTest::saysAndGoes()
{
    QWidget window;
    window.resize(210, 100);
    auto *notice = new Notice(&window);
    notice->setGeometry(4, 60, 202, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(notice->isHidden());

    notice->say(QStringLiteral("Restored E9.04.53"));
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->text(), QStringLiteral("Restored E9.04.53"));
    QAccessibleInterface *status = QAccessible::queryAccessibleInterface(notice);
    QVERIFY(status);
    QCOMPARE(status->role(), QAccessible::StatusBar);
    QCOMPARE(status->text(QAccessible::Name), QStringLiteral("Restored E9.04.53"));
    notice->say(QStringLiteral("Copied #626761"));
    QCOMPARE(status->text(QAccessible::Name), QStringLiteral("Copied #626761"));

    QTRY_VERIFY_WITH_TIMEOUT(notice->isHidden(), 8000);
}

void NoticeTest::clicksPassThrough()
{
    QWidget window;
    window.resize(210, 100);
    auto *below = new QWidget(&window);
    below->setGeometry(0, 50, 210, 50);
    auto *notice = new Notice(&window);
    notice->setGeometry(4, 60, 202, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    notice->say(QStringLiteral("The collection is in use by another program; try again."));
    QCOMPARE(window.childAt(100, 75), below);
}

void NoticeTest::wholeMessageGrowingUpward_data()
{
    // The messages the window says, with an ordinary home folder's paths.
    const QString path = QStringLiteral("/home/someone-with-a-name/.local/share/tesselle/dbtsl.db");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("path");
    QTest::newRow("short") << "Copied K8.04.43" << "";
    QTest::newRow("read-only") << QStringLiteral("The collection cannot be changed: %1 is read-only.").arg(path) << path;
    QTest::newRow("import summary")
        << "Added 12 colours from my-colours.gpl (3 matched to the nearest card colour); 4 skipped: collected already."
        << "";
    QTest::newRow("export error")
        << "my-colours.txt was not written: name it with one of the endings .gpl, .ase, .csv, .css, .soc or .xml."
        << "";
    QTest::newRow("two start-up notices")
        << QStringLiteral("%1 was not updated: it was written by a newer version. It is shown as it is.\n"
                          "The collection cannot be changed: %1 is read-only. The card can be browsed.").arg(path)
        << path;
}

void NoticeTest::wholeMessageGrowingUpward()
{
    QFETCH(QString, message);
    QFETCH(QString, path);
    QWidget window;
    window.resize(210, 690);
    auto *notice = new Notice(&window);
    notice->setGeometry(4, 656, 202, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    notice->say(message);
    // Over the window's bottom edge, as wide as before, as tall as its lines.
    QCOMPARE(notice->geometry().bottom(), 685);
    QCOMPARE(notice->x(), 4);
    QCOMPARE(notice->width(), 202);
    QVERIFY(notice->height() >= 30);
    QVERIFY2(notice->heightForWidth(notice->width()) <= notice->height(),
             qPrintable(QStringLiteral("%1 > %2").arg(notice->heightForWidth(notice->width())).arg(notice->height())));
    QVERIFY(notice->y() >= 0);
    // Every word of the message is shown but the path, which keeps its
    // beginning and its file name around an ellipsis.
    const QString shown = notice->text();
    QString rest = message;
    if (!path.isEmpty()) {
        const QStringList parts = shown.split(QChar(0x2026));
        QVERIFY2(parts.size() >= 2, qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral(" /home/")));
        QVERIFY(shown.contains(QStringLiteral("dbtsl.db ")));
        rest.remove(path);
        rest.remove(QStringLiteral("/home"));
    }
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString &word : rest.split(space, Qt::SkipEmptyParts))
        QVERIFY2(shown.contains(word), qPrintable(word + QStringLiteral(" not in: ") + shown));
    // Each line fits: no word wider than the notice's inside.
    const QFontMetrics metrics(notice->font());
    for (const QString &word : shown.split(space, Qt::SkipEmptyParts))
        QVERIFY2(metrics.horizontalAdvance(word) <= notice->contentsRect().width(), qPrintable(word));
    // A screen reader hears it whole.
    QCOMPARE(notice->accessibleName(), message);
    if (message.size() > 60)
        QVERIFY(notice->height() > 30);
}

void NoticeTest::longerStaysLongerRefusalUntilAction()
{
    QWidget window;
    window.resize(210, 690);
    auto *below = new QWidget(&window);
    below->setGeometry(0, 0, 210, 600);
    auto *brief = new Notice(&window);
    brief->setGeometry(4, 300, 202, 30);
    auto *longer = new Notice(&window);
    longer->setGeometry(4, 400, 202, 30);
    auto *refusal = new Notice(&window);
    refusal->setGeometry(4, 656, 202, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    brief->say(QStringLiteral("Copied K8.04.43"));
    longer->say(QStringLiteral("Added 12 colours from my-colours.gpl (3 matched to the nearest card colour); "
                               "4 skipped: collected already."));
    refusal->say(QStringLiteral("The collection cannot be changed: /home/u/.local/share/tesselle/dbtsl.db is read-only."));
    refusal->holdUntilNextAction();
    QTest::qWait(6000);
    QVERIFY(brief->isHidden());
    QVERIFY(longer->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(longer->isHidden(), 8000);
    QVERIFY(refusal->isVisible());
    // The user's next key or click in the window takes it away.
    QTest::mouseClick(below, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(refusal->isHidden());
}

QTEST_MAIN(NoticeTest)
#include "test_notice.moc"
