// Drives a real window through the collection buttons, the way a person
// would press them, and reports each action once its handler has returned:
//
//   collection_driver <programFolder> random <seed> <steps>
//       a seeded mix of additions (a swatch of a random page, then the add
//       button) and deletions (the collection panel, a few steps, delete);
//   collection_driver <programFolder> add <firstPage> <lastPage> [pauseMs]
//       every swatch of those pages added in turn, with an optional pause
//       after each addition, as a person takes between clicks.
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
#include "TestWindow.h"
#include "collection/CollectionPanel.h"
#include "widgets/TextBox.h"
#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"

#include <QApplication>
#include <QLabel>
#include <QThread>

#include <cstdio>
#include <random>

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

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: %s <folder> random <seed> <steps> | add <first> <last> [pauseMs]\n",
                     argv[0]);
        return 2;
    }
    TestWindow form(QString::fromLocal8Bit(argv[1]));
    form.intro_swf()->hide();
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
