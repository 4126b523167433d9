// SPDX-License-Identifier: MIT
// Drives a real window through the collection buttons, the way a person
// would press them, and reports each action once its handler has returned:
//
//   collection_driver <programFolder> random <seed> <steps>
//       a seeded mix of additions (a swatch of a random page, then the add
//       button) and deletions (the collection panel, a few steps, delete);
//   collection_driver <programFolder> add <firstPage> <lastPage> [pauseMs]
//       every swatch of those pages added in turn, with an optional pause
//       after each addition, as a person takes between clicks;
//   collection_driver <programFolder> serve
//       one action for each line read from standard input (see serve()
//       below), each answered once its handler has returned, so that a test
//       can act in this program and in another one by turns.
//
// Each completed action prints one line to standard output, "ADD <code>" or
// "DEL <code>", flushed at once, so that a process killed at any moment has
// told exactly what it finished. An action counts as completed when its
// handler has returned and the program's own collection cursor holds (or no
// longer holds) the code. An action that did not take effect prints
// "LOST ADD <code>" or "LOST DEL <code>" instead.
//
// Before each action, "BEGIN ADD <code>" or "BEGIN DEL <code>" goes to
// standard error (unbuffered), so that a killed run also tells which action
// it was in the middle of.
#include "PaintWatch.h"
#include "TestWindow.h"
#include "WindowDriver.h"
#include "collection/CollectionPanel.h"
#include "widgets/TextBox.h"
#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"

#include "card/CardPanel.h"
#include "widgets/Notice.h"

#include <QApplication>
#include <QLabel>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <random>
#include <string>

namespace {

void begin(const char *action, const QString &code)
{
    std::fprintf(stderr, "BEGIN %s %s\n", action, qPrintable(code));
}

void report(const char *action, const QString &code)
{
    std::printf("%s %s\n", action, qPrintable(code));
    std::fflush(stdout);
}

bool collected(TestWindow &form, const QString &code)
{
    auto *cursor = qobject_cast<DataCursor *>(form.control(QStringLiteral("Adodc1")));
    return cursor->recordset().contains(QStringLiteral("code"), code);
}

bool addSwatch(TestWindow &form, int index)
{
    if (!form.pagecolor(index))
        return false;
    form.pagecolor_Click(index);
    const QString code = form.color_a();
    begin("ADD", code);
    emit form.addtobaby_swf()->FSCommand(QStringLiteral("add"), QString());
    report(collected(form, code) ? "ADD" : "LOST ADD", code);
    return true;
}

void deleteOne(TestWindow &form, std::mt19937 &random)
{
    emit form.palettac()->FSCommand(QString(), QString());
    if (form.baby_num()->text() != QLatin1String("0")) {
        for (int steps = int(random() % 4); steps > 0; --steps)
            emit form.nextb_swf()->FSCommand(QStringLiteral("click"), QString());
        const QString code = form.baby_code()->text();
        begin("DEL", code);
        emit form.deleteb_swf()->FSCommand(QStringLiteral("delete"), QString());
        report(collected(form, code) ? "LOST DEL" : "DEL", code);
    }
    emit form.palettac()->FSCommand(QStringLiteral("5327"), QString());
}

// What the window shows: the collection panel's position, count and code,
// the page box, the number of swatches in the column and whether the
// pointer is a busy cursor.
QString windowState(TestWindow &form)
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return QStringLiteral("%1%2 %3 page=%4 swatches=%5 cursor=%6")
        .arg(form.baby_num()->text(), form.baby_nummax()->text(), form.baby_code()->text(),
             form.pagen_text()->text())
        .arg(form.cardPanel()->swatchCount())
        .arg(cursor ? (cursor->shape() == Qt::WaitCursor ? "wait" : "other") : "normal");
}

// Serves one action per line of standard input:
//
//   collection | card       the palette's commands for the two panels
//   show <n>                the collection's entry n (babyColorizer)
//   next | previous         the collection's arrows
//   delete                  the collection's delete button
//   select <page> <row>     that page shown and that swatch clicked
//   add                     the add button
//   page <n>                the card's page n (pageMove)
//   undo | redo             Ctrl+Z / Ctrl+Shift+Z pressed on the window
//   state                   nothing: the window as it is
//
// Each line is answered on standard output by the notices the collection
// panel gave ("NOTICE <text>"), what the window's notice showed while the
// action ran ("SHOWN <text>", also while it waited for another program),
// whether a busy cursor was seen meanwhile ("SEEN wait cursor"), and then
// one line "DONE <state>" (windowState() above).
int serve(TestWindow &form)
{
    auto *notice = form.findChild<Notice *>();
    QString lastShown;
    bool sawWaitCursor = false;
    // The timer runs whenever events are handled.
    const auto observe = [&] {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        if (cursor && cursor->shape() == Qt::WaitCursor && !sawWaitCursor) {
            sawWaitCursor = true;
            std::printf("SEEN wait cursor\n");
        }
        if (notice && !notice->isHidden() && !notice->text().isEmpty() && notice->text() != lastShown) {
            lastShown = notice->text();
            std::printf("SHOWN %s\n", qPrintable(lastShown));
        }
    };
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, observe);
    watch.start();
    // No timer runs while an action waits: the wait is seen as it is
    // painted, on the window shown offscreen.
    const PaintWatch paintWatch(notice, observe);
    form.show();
    QObject::connect(form.collectionPanel(), &CollectionPanel::notice,
                     [](const QString &text) { std::printf("NOTICE %s\n", qPrintable(text)); });

    std::string line;
    while (std::getline(std::cin, line)) {
        const QStringList words = QString::fromStdString(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString verb = words.value(0);
        const auto number = [&words](int i) { return words.value(i).toLongLong(); };
        sawWaitCursor = false;
        // Each action's notices afresh.
        lastShown.clear();
        if (notice)
            notice->clear();
        if (verb == QLatin1String("collection")) {
            emit form.palettac()->FSCommand(QString(), QString());
        } else if (verb == QLatin1String("card")) {
            emit form.palettac()->FSCommand(QStringLiteral("5327"), QString());
        } else if (verb == QLatin1String("show")) {
            form.babyColorizer(int(number(1)));
        } else if (verb == QLatin1String("next")) {
            emit form.nextb_swf()->FSCommand(QStringLiteral("click"), QString());
        } else if (verb == QLatin1String("previous")) {
            emit form.previousb_swf()->FSCommand(QStringLiteral("click"), QString());
        } else if (verb == QLatin1String("delete")) {
            emit form.deleteb_swf()->FSCommand(QStringLiteral("delete"), QString());
        } else if (verb == QLatin1String("select")) {
            form.pageMove(number(1));
            form.pagecolor_Click(int(number(2)));
        } else if (verb == QLatin1String("add")) {
            emit form.addtobaby_swf()->FSCommand(QStringLiteral("add"), QString());
        } else if (verb == QLatin1String("page")) {
            form.pageMove(number(1));
        } else if (verb == QLatin1String("undo") || verb == QLatin1String("redo")) {
            // Keys need the window shown and active, as a person has it.
            if (!form.isVisible())
                WindowDriver::showReady(form);
            WindowDriver::key(Qt::Key_Z, verb == QLatin1String("undo") ? Qt::ControlModifier
                                                                       : Qt::ControlModifier | Qt::ShiftModifier);
        } else if (verb != QLatin1String("state")) {
            std::printf("DONE unknown command %s\n", line.c_str());
            std::fflush(stdout);
            continue;
        }
        QCoreApplication::processEvents();
        observe();
        std::printf("DONE %s\n", qPrintable(windowState(form)));
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool serving = argc == 3 && QByteArray(argv[2]) == "serve";
    if (argc != 5 && argc != 6 && !serving) {
        std::fprintf(stderr, "usage: %s <folder> random <seed> <steps> | add <first> <last> [pauseMs] | serve\n",
                     argv[0]);
        return 2;
    }
    TestWindow form(QString::fromLocal8Bit(argv[1]));
    form.intro_swf()->hide();
    if (serving)
        return serve(form);
    // What the window tells its user, for the tests to read.
    QObject::connect(form.collectionPanel(), &CollectionPanel::notice, [](const QString &text) {
        std::fprintf(stderr, "NOTICE %s\n", qPrintable(text));
    });
    const QString mode = QString::fromLatin1(argv[2]);
    const int a = std::atoi(argv[3]);
    const int b = std::atoi(argv[4]);
    const int pauseMs = argc == 6 ? std::atoi(argv[5]) : 0;

    if (mode == QLatin1String("add")) {
        for (int page = a; page <= b; ++page) {
            form.pageMove(page);
            for (int index = 1; addSwatch(form, index); ++index) {
                if (pauseMs > 0)
                    QThread::msleep(static_cast<unsigned long>(pauseMs));
            }
        }
        return 0;
    }

    std::mt19937 random{static_cast<std::mt19937::result_type>(a)};
    const int pages = form.pagenx().toInt();
    for (int step = 0; step < b; ++step) {
        if (random() % 3 != 0) {
            form.pageMove(1 + int(random() % unsigned(pages)));
            addSwatch(form, 1 + int(random() % 8));
        } else {
            deleteOne(form, random);
        }
    }
    return 0;
}
