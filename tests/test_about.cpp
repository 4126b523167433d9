// SPDX-License-Identifier: MIT
// About's "Open its folder" through xdg-open, as it fares on a system: an
// opener that opens, one that fails (no file manager installed) and none at
// all. A failure is said in the box, never passed over; the collection's
// path is always shown, selectable, and copied by its button.
#include "app/AboutBox.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// xdg-open ends well within this; the bound only keeps a broken run short.
constexpr int openerEndsMs = 5000;

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openFolder_data();
    void openFolder();
    void pathShownAndCopied();

private:
    // A PATH holding only a fake xdg-open that notes what it was asked to
    // open and exits with status, or no xdg-open when status is negative.
    void fakeOpener(int status);

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_path;
};

void AboutTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = qgetenv("PATH");
}

void AboutTest::cleanup()
{
    qputenv("PATH", m_path);
    m_dir.reset();
}

void AboutTest::fakeOpener(int status)
{
    const QString bin = m_dir->filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    if (status >= 0) {
        QFile opener(bin + QStringLiteral("/xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" > '%1/asked'\nexit %2\n")
                         .arg(m_dir->path())
                         .arg(status)
                         .toUtf8());
        opener.close();
        QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    qputenv("PATH", QFile::encodeName(bin));
}

void AboutTest::openFolder_data()
{
    QTest::addColumn<int>("status");
    // What the box says, in part; "" for nothing.
    QTest::addColumn<QString>("said");
    QTest::newRow("opened") << 0 << "";
    QTest::newRow("no file manager") << 3 << "ended with status 3";
    QTest::newRow("no xdg-open") << -1 << "could not be started";
}

void AboutTest::openFolder()
{
    QFETCH(int, status);
    QFETCH(QString, said);
    fakeOpener(status);
    const QString database = m_dir->filePath(QStringLiteral("data/dbtsl.db"));
    AboutBox box(database);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *open = box.findChild<QPushButton *>(QStringLiteral("openFolder"));
    QVERIFY(open);
    QTest::mouseClick(open, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!box.opening(), openerEndsMs);
    const QString asked = m_dir->filePath(QStringLiteral("asked"));
    if (status >= 0) {
        QFile file(asked);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()).trimmed(), box.folder());
    }
    if (said.isEmpty()) {
        QCOMPARE(box.outcome(), QString());
    } else {
        QVERIFY2(box.outcome().contains(QLatin1String("could not be opened")), qPrintable(box.outcome()));
        QVERIFY2(box.outcome().contains(said), qPrintable(box.outcome()));
        QVERIFY(box.findChild<QLabel *>(QStringLiteral("aboutOutcome"))->isVisible());
    }
    // The path stays in sight whatever happened.
    QVERIFY(box.text().contains(database));
}

void AboutTest::pathShownAndCopied()
{
    const QString database = m_dir->filePath(QStringLiteral("data/dbtsl.db"));
    AboutBox box(database);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QLabel *text = nullptr;
    for (const QLabel *label : box.findChildren<QLabel *>()) {
        if (label->text().contains(database))
            text = label;
    }
    QVERIFY(text);
    QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    QVERIFY(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    auto *copy = box.findChild<QPushButton *>(QStringLiteral("copyPath"));
    QVERIFY(copy);
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), database);
    QCOMPARE(box.outcome(), QStringLiteral("Copied %1").arg(database));
}

QTEST_MAIN(AboutTest)
#include "test_about.moc"
