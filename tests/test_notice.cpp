// SPDX-License-Identifier: MIT
// The notice on its own: over its parent for a few seconds, clicks pass
// through it, and a screen reader finds it as a status bar named by its
// message.
#include "widgets/Notice.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

class NoticeTest : public QObject
{
    Q_OBJECT

private slots:
    void saysAndGoes();
    void clicksPassThrough();
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

QTEST_MAIN(NoticeTest)
#include "test_notice.moc"
