// SPDX-License-Identifier: MIT
// Damaged or replaced files beside the program: a database that is missing,
// empty, cut short, foreign or read-only ends the program with a clear word
// and touches nothing; broken or hostile movies leave their controls empty
// or draw what they safely can, and are never a way to read other files.
#include "ProgramFolder.h"
#include "ProgramRun.h"

#include "TestWindow.h"
#include "card/CardPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using Outcome = ProgramRun::Result;

// Runs the real program from the folder until its first frame.
Outcome runProgram(const ProgramFolder &folder, const QStringList &arguments = {})
{
    return ProgramRun::run(folder, arguments);
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const char *const movieFiles[] = {"borit.svg", "kor.svg", "n.svg", "p.svg", "addtb.svg", "del.svg"};

// Watches a FIFO for readers. Opening a FIFO for reading blocks until a
// writer comes, so a program that tried to read it would hang: the watch
// opens the writing end whenever someone waits on the other (which lets the
// reader go on, with nothing to read) and remembers that it happened.
class FifoWatch
{
public:
    explicit FifoWatch(const QString &path) : m_path(QFile::encodeName(path))
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                const int writer = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
                if (writer >= 0) {
                    m_opened = true;
                    ::close(writer);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    ~FifoWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    bool opened() const { return m_opened; }

private:
    QByteArray m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opened{false};
    std::thread m_thread;
};

} // namespace

class DamageTest : public QObject
{
    Q_OBJECT

private slots:
    void healthyFolderStarts();
    void damagedDatabase_data();
    void damagedDatabase();
    void readOnlyDatabaseWhileAdding();
    void damagedMovies_data();
    void damagedMovies();
    void introThatStaysIsHidden();
    void moviesReadNoOtherFile();
};

void DamageTest::healthyFolderStarts()
{
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(3, 8));
    const Outcome outcome = runProgram(folder);
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.status, QProcess::NormalExit);
    QCOMPARE(outcome.code, 0);
}

void DamageTest::damagedDatabase_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("words");  // what the message says, besides the file

    QTest::newRow("missing") << "missing" << "does not exist";
    QTest::newRow("empty") << "empty" << "no such table";
    QTest::newRow("truncated") << "truncated" << "malformed";
    QTest::newRow("not a database") << "garbage" << "not a database";
    QTest::newRow("without the card table") << "no card" << "no such table";
    QTest::newRow("without the collection") << "no collection" << "no such table";
}

void DamageTest::damagedDatabase()
{
    QFETCH(QString, damage);
    QFETCH(QString, words);
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(30, 8));
    folder.addCollectionRows({{"5327", ProgramFolder::codeFor(2, 2)}});
    const QString path = folder.databasePath();
    if (damage == QLatin1String("missing")) {
        QVERIFY(QFile::remove(path));
    } else if (damage == QLatin1String("empty")) {
        writeFile(path, QByteArray());
    } else if (damage == QLatin1String("truncated")) {
        writeFile(path, contentsOf(path).left(1024));
    } else if (damage == QLatin1String("garbage")) {
        QByteArray noise(64 * 1024, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        writeFile(path, noise);
    } else if (damage == QLatin1String("no card")) {
        folder.exec(QStringLiteral("drop table \"5327\""));
    } else {
        folder.exec(QStringLiteral("drop table baby2"));
    }
    const bool existed = QFile::exists(path);
    const QByteArray before = contentsOf(path);

    // A missing file is one named on the command line: without it, the
    // program would use the user's own database instead.
    const QStringList arguments = damage == QLatin1String("missing")
        ? QStringList{QStringLiteral("--database"), path}
        : QStringList();
    const Outcome outcome = runProgram(folder, arguments);
    QVERIFY2(outcome.finished, "the program hung");
    QCOMPARE(outcome.status, QProcess::NormalExit);
    QCOMPARE(outcome.code, 1);
    QVERIFY2(outcome.err.contains(path), qPrintable(outcome.err));
    QVERIFY2(outcome.err.contains(words, Qt::CaseInsensitive), qPrintable(outcome.err));
    // Nothing was written: no new database in place of a missing one, and
    // not a byte of a damaged one changed.
    QCOMPARE(QFile::exists(path), existed);
    QCOMPARE(contentsOf(path), before);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
}

void DamageTest::readOnlyDatabaseWhileAdding()
{
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(10, 8));
    folder.addCollectionRows({{"5327", ProgramFolder::codeFor(1, 1)}});
    const QString path = folder.databasePath();
    // The driver runs from the folder itself, so that an unprivileged user
    // can reach it wherever the build lies.
    const QString driverCopy = QDir(folder.path()).filePath(QStringLiteral("collection_driver"));
    QVERIFY(QFile::copy(QStringLiteral(TESSELLE_COLLECTION_DRIVER), driverCopy));
    QVERIFY(::chmod(QFile::encodeName(driverCopy).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder.path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
    const QByteArray before = contentsOf(path);

    // File permissions do not bind root: there, the program runs as
    // "nobody", who may read the database but not write it.
    const QStringList driverArgs = {folder.path(), QStringLiteral("add"), QStringLiteral("2"),
                                    QStringLiteral("2")};
    QProcess driver;
    if (geteuid() == 0) {
        const QString runuser = QStandardPaths::findExecutable(QStringLiteral("runuser"));
        if (runuser.isEmpty())
            QSKIP("running as root without runuser: a read-only file cannot be made");
        driver.start(runuser, QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                                          driverCopy} + driverArgs);
    } else {
        driver.start(driverCopy, driverArgs);
    }
    QVERIFY(driver.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(driver.readAllStandardError());
    // The program goes on: every swatch of the page is tried, each refused
    // with a word to the user that names the file, none claimed.
    QCOMPARE(driver.exitStatus(), QProcess::NormalExit);
    QVERIFY2(driver.exitCode() == 0, qPrintable(errors));
    QCOMPARE(errors.count(QLatin1String("BEGIN ADD")), 8);
    QCOMPARE(errors.count(QStringLiteral("NOTICE The collection cannot be changed: %1 is read-only.").arg(path)), 8);
    const QString output = QString::fromLocal8Bit(driver.readAllStandardOutput());
    QCOMPARE(output.count(QLatin1String("LOST ADD")), 8);
    QCOMPARE(output.count(QLatin1String("\nADD ")) + int(output.startsWith(QLatin1String("ADD "))), 0);
    QCOMPARE(contentsOf(path), before);
    QCOMPARE(folder.collectionCodes(), QStringList{ProgramFolder::codeFor(1, 1)});
}

void DamageTest::damagedMovies_data()
{
    QTest::addColumn<QByteArray>("contents");  // "<missing>": no file at all

    QTest::newRow("missing") << QByteArray("<missing>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("malformed") << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><g><rect");
    QTest::newRow("not svg") << QByteArray("<html><body>no movie</body></html>");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QByteArray huge("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">");
    huge += QByteArray(10 * 1024 * 1024, ' ');
    huge += "<rect width=\"10\" height=\"10\"/></svg>";
    QTest::newRow("huge") << huge;
}

void DamageTest::damagedMovies()
{
    QFETCH(QByteArray, contents);
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(10, 8));
    for (const char *name : movieFiles) {
        const QString path = QDir(folder.path()).filePath(QStringLiteral("swf/") + QLatin1String(name));
        if (contents == "<missing>")
            QFile::remove(path);
        else
            writeFile(path, contents);
    }

    // Each control plays the program's own copy of its movie instead, so
    // the window works as ever.
    TestWindow form(folder.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<MovieControl *> movies = form.findChildren<MovieControl *>();
    QCOMPARE(movies.size(), 8);
    for (MovieControl *movie : movies)
        QVERIFY2(movie->isLoaded(), qPrintable(movie->objectName()));
    QTest::mouseClick(form.intro_swf(), Qt::LeftButton, {}, form.intro_swf()->rect().center());
    QTRY_VERIFY(form.intro_swf()->isHidden());
    QTest::mouseClick(form.next_swf(), Qt::LeftButton, {}, form.next_swf()->rect().center());
    QCOMPARE(form.pagen_text()->text(), QStringLiteral("2"));
    QCOMPARE(form.cardPanel()->pagecolorIndexes().size(), 9);
}

void DamageTest::introThatStaysIsHidden()
{
    // A readable intro that never dismisses itself does not cover the
    // window for good.
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(3, 8));
    writeFile(QDir(folder.path()).filePath(QStringLiteral("swf/borit.svg")),
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"210\" height=\"690\">"
              "<rect width=\"210\" height=\"690\" fill=\"#336\"/></svg>");
    TestWindow form(folder.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.intro_swf()->isLoaded());
    QVERIFY(form.intro_swf()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(form.intro_swf()->isHidden(), 8000);
}

void DamageTest::moviesReadNoOtherFile()
{
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(5, 8));
    // The movies point at a FIFO beside the program folder's swf/: by its
    // absolute path and as "../secret.png". A program that opened it would
    // hang; the watch lets it go on and tells.
    const QString fifo = QDir(folder.path()).filePath(QStringLiteral("secret.png"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    FifoWatch watch(fifo);
    const QByteArray hostile =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
        " xmlns:mv=\"urn:x-tesselle:movie\" width=\"20\" height=\"20\" viewBox=\"0 0 20 20\">"
        "<rect id=\"b\" width=\"20\" height=\"20\" fill=\"#e6e6e6\" mv:command=\"click\"/>"
        "<image width=\"20\" height=\"20\" xlink:href=\"" + QFile::encodeName(fifo) + "\"/>"
        "<image width=\"20\" height=\"20\" xlink:href=\"file://" + QFile::encodeName(fifo) + "\"/>"
        "<image width=\"20\" height=\"20\" xlink:href=\"../secret.png\"/>"
        "<image width=\"20\" height=\"20\" href=\"../secret.png\"/>"
        "<image width=\"20\" height=\"20\" xlink:href=\"/etc/hostname\"/>"
        "<use xlink:href=\"" + QFile::encodeName(fifo) + "#x\"/>"
        "<use xlink:href=\"../secret.png#x\"/>"
        "</svg>";
    for (const char *name : movieFiles)
        writeFile(QDir(folder.path()).filePath(QStringLiteral("swf/") + QLatin1String(name)), hostile);

    {
        TestWindow form(folder.path());
        const QList<MovieControl *> movies = form.findChildren<MovieControl *>();
        QList<QSharedPointer<QSignalSpy>> spies;
        for (MovieControl *movie : movies)
            spies.append(QSharedPointer<QSignalSpy>::create(movie, &MovieControl::FSCommand));
        form.intro_swf()->hide();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.next_swf()->isLoaded());
        // Drawn and left alone for a while, no movie raises anything: this
        // one declares only a click.
        form.grab();
        QTest::qWait(300);
        for (const auto &spy : spies)
            QCOMPARE(spy->count(), 0);
        // What it safely can: the movie's own shape, with its command.
        QTest::mouseClick(form.next_swf(), Qt::LeftButton, {}, form.next_swf()->rect().center());
        QCOMPARE(spies.at(movies.indexOf(form.next_swf()))->count(), 1);
        QCOMPARE(spies.at(movies.indexOf(form.next_swf()))->first().at(0).toString(), QStringLiteral("click"));
        QCOMPARE(form.pagen_text()->text(), QStringLiteral("2"));
        form.grab();
    }
    QVERIFY2(!watch.opened(), "a movie opened a file outside itself");
}

QTEST_MAIN(DamageTest)
#include "test_reliability_damage.moc"
