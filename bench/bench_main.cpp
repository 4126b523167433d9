// SPDX-License-Identifier: MIT
// Speed of the real program's handlers on real data, beside the floor they
// stand on, and the ratios between them. Run offscreen; never part of the
// tests. `scripts/bench.sh` builds and runs it.
#include "BenchFolder.h"
#include "Figures.h"
#include "ProcessComparison.h"

#include "TestWindow.h"
#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "collection/PaletteExport.h"
#include "collection/ImportPreviewDialog.h"
#include "collection/PaletteImport.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"
#include "widgets/CardPaint.h"
#include "widgets/TextBox.h"
#include "widgets/MovieControl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <thread>

namespace {

using Card = BenchFolder::Card;

const int collectionSizes[] = {10, 1000, 100000};

// A shown window over a benchmark folder, its intro dismissed.
std::unique_ptr<TestWindow> openWindow(const BenchFolder &folder)
{
    auto form = std::make_unique<TestWindow>(folder.path());
    form->intro_swf()->hide();
    form->show();
    QCoreApplication::processEvents();
    return form;
}

// What the event loop does before the next key: the events an action
// posted (the repaint among them) handled, untimed. Left unhandled, they
// pile up, and every later action scans them.
void handlePostedEventsUntimed(benchmark::State &state)
{
    state.PauseTiming();
    QCoreApplication::sendPostedEvents();
    state.ResumeTiming();
}

// The card and the collection of a benchmark folder, as the program's
// panels hold them.
struct FolderTables
{
    explicit FolderTables(const BenchFolder &folder) : card(&cards, &colours), collection(&entries)
    {
        card.open(folder.databasePath());
        collection.open(folder.databasePath());
    }

    DataCursor cards, colours, entries;
    CardTable card;
    CollectionTable collection;
};

// --- The floor ------------------------------------------------------------

// One page's rows through a prepared statement: the database's part of a
// page, read through the engine's own interface as the program reads it.
__attribute__((noinline)) qint64 readPage(sqlite3_stmt *statement, int page)
{
    sqlite3_bind_int(statement, 1, page);
    qint64 sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int i = 0; i < 7; ++i) {
            if (sqlite3_column_type(statement, i) == SQLITE_TEXT)
                sum += QString::fromUtf16(static_cast<const char16_t *>(sqlite3_column_text16(statement, i)),
                                          sqlite3_column_bytes16(statement, i) / 2).size();
            else
                sum += sqlite3_column_int64(statement, i);
        }
    }
    sqlite3_reset(statement);
    return sum;
}

// Eight coloured child widgets created, shown and removed: the widgets' part.
__attribute__((noinline)) void eightWidgets(QWidget &parent)
{
    QWidget *children[8];
    for (int i = 0; i < 8; ++i) {
        auto *child = new QWidget(&parent);
        child->setGeometry(7, 3 + 43 * i, 127, 40);
        child->setAutoFillBackground(true);
        QPalette palette = child->palette();
        palette.setColor(QPalette::Window, QColor(i * 30, 100, 200));
        child->setPalette(palette);
        child->show();
        children[i] = child;
    }
    for (QWidget *child : children)
        delete child;
}

void pageQueryFloor(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 0);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(folder.databasePath()).constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v3(db, "select * from \"5327\" where Page = ? order by Row", -1,
                       SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    int page = 0;
    for (auto _ : state) {
        page = page % folder.pages() + 1;
        benchmark::DoNotOptimize(readPage(statement, page));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

void eightWidgetsFloor(benchmark::State &state)
{
    QWidget parent;
    parent.setFixedSize(140, 460);
    parent.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        eightWidgets(parent);
        handlePostedEventsUntimed(state);
    }
}

// --- The card ---------------------------------------------------------------

void pageMove(benchmark::State &state, Card card)
{
    const BenchFolder &folder = BenchFolder::shared(card, 0);
    auto form = openWindow(folder);
    // Pages spread over the whole card, so a large card is read everywhere.
    const int pages = folder.pages();
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 64;
        form->pageMove(1 + qint64(step) * (pages - 1) / 63);
        handlePostedEventsUntimed(state);
    }
}

// One page of many rows shown again and again, until it stands on the
// screen: the events its swatches posted handled and the window painted.
// The page before it goes each time, as it would for the next page of the
// same size.
void pageMoveRows(benchmark::State &state, qint64 page)
{
    const BenchFolder &folder = BenchFolder::shared(Card::LongPages, 0);
    auto form = openWindow(folder);
    // Once before timing: a repetition of the long page is a single move,
    // which would otherwise replace the window's first page, not its like,
    // and grow the heap for 10,000 widgets.
    form->pageMove(page);
    QCoreApplication::processEvents();
    form->repaint();
    for (auto _ : state) {
        form->pageMove(page);
        QCoreApplication::processEvents();
        form->repaint();
    }
}

// From a choice of "See as" to the window painted again: the swatches,
// the collection's colour and the palette's sectors as that eye sees them,
// by turns with normal vision so that every frame paints anew.
void visionChoice(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 10);
    auto form = openWindow(folder);
    form->pageMove(50);
    QCoreApplication::processEvents();
    form->repaint();
    bool simulated = false;
    for (auto _ : state) {
        simulated = !simulated;
        CardPaint::setVision({simulated ? VisionSimulation::Deficiency::Deuteranopia
                                        : VisionSimulation::Deficiency::None, 1.0});
        form->repaint();
    }
    CardPaint::setVision({});
}

void enterCode(benchmark::State &state, Card card, bool found)
{
    const BenchFolder &folder = BenchFolder::shared(card, 0);
    auto form = openWindow(folder);
    const QString code = found ? folder.codeOnPage(folder.pages() / 2) : BenchFolder::missingCode();
    for (auto _ : state) {
        form->findcode_txt1()->setText(code.left(2));
        form->findcode_txt2()->setText(code.mid(3, 2));
        form->findcode_txt3()->setText(code.right(2));
        form->cardPanel()->enterCode();
    }
}

// --- The collection ---------------------------------------------------------

void collectionStep(benchmark::State &state, int size)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, size);
    auto form = openWindow(folder);
    emit form->palettac()->FSCommand(QString(), QString());
    for (auto _ : state)
        emit form->nextb_swf()->FSCommand(QStringLiteral("click"), QString());
}

void addNew(benchmark::State &state, int size)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, size);
    auto form = openWindow(folder);
    // Codes never used before, in this repetition or an earlier one.
    static int serial = 0;
    const QString prefix = QStringLiteral("N%1.").arg(size);
    for (auto _ : state) {
        state.PauseTiming();
        const QString code = prefix + QStringLiteral("%1").arg(++serial, 7, 10, QLatin1Char('0'));
        state.ResumeTiming();
        form->collectionPanel()->addtoBaby(code);
    }
    // The collection goes back to its size for the benchmarks that follow.
    form.reset();
    folder.removeEntries(prefix);
}

void addDuplicate(benchmark::State &state, int size)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, size);
    auto form = openWindow(folder);
    const QString code = folder.codeOnPage(1);
    for (auto _ : state)
        form->collectionPanel()->addtoBaby(code);
}

void deleteEntry(benchmark::State &state, int size)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, size);
    auto form = openWindow(folder);
    static int serial = 0;
    for (auto _ : state) {
        // Keep the size: add one entry, then show the collection's first.
        state.PauseTiming();
        form->collectionPanel()->addtoBaby(QStringLiteral("D%1.%2").arg(size).arg(++serial, 7, 10, QLatin1Char('0')));
        emit form->palettac()->FSCommand(QString(), QString());
        state.ResumeTiming();
        emit form->deleteb_swf()->FSCommand(QStringLiteral("delete"), QString());
    }
}

// --- Colours out ------------------------------------------------------------

// The collection of 100,000 entries exported as each format would be by the
// collection's menu or --export, beside its floor: the collection's rows
// read through one prepared statement, and the same bytes saved. Each
// export reads through a collection cursor of its own, as the menu's does.
void exportCollection(benchmark::State &state, const char *suffix)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 100000);
    FolderTables tables(folder);
    const QString path = QDir(folder.path()).filePath(QStringLiteral("export.") + QLatin1String(suffix));
    for (auto _ : state) {
        DataCursor cursor;
        CollectionTable entries(&cursor);
        entries.open(folder.databasePath());
        const PaletteExport::Result result = PaletteExport(&tables.card, &entries).write(path, false);
        if (!result.ok)
            state.SkipWithError(qPrintable(result.message));
    }
}

// The whole card (1,632 colours) as a PDF swatch sheet, a card page to a
// sheet page: a figure of its own, to stay under a second.
void cardSheet(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 10);
    FolderTables tables(folder);
    const QString path = QDir(folder.path()).filePath(QStringLiteral("card.pdf"));
    for (auto _ : state) {
        const PaletteExport::Result result = PaletteExport(&tables.card, &tables.collection).write(path, true);
        if (!result.ok)
            state.SkipWithError(qPrintable(result.message));
    }
}

// The floor's two parts, each a function of its own so that a profiler can
// count them apart: the collection's rows read, and the bytes saved as the
// export saves them.
__attribute__((noinline)) qint64 readCollection(sqlite3_stmt *statement)
{
    qint64 sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        sum += sqlite3_column_int64(statement, 0);
        for (int i = 1; i < 3; ++i)
            sum += QString::fromUtf16(static_cast<const char16_t *>(sqlite3_column_text16(statement, i)),
                                      sqlite3_column_bytes16(statement, i) / 2).size();
    }
    sqlite3_reset(statement);
    return sum;
}

__attribute__((noinline)) void saveBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.commit();
}

void exportFloor(benchmark::State &state, const char *suffix)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 100000);
    const QString path = QDir(folder.path()).filePath(QStringLiteral("export.") + QLatin1String(suffix));
    QByteArray bytes;
    {
        // The bytes the export writes, made here when the floor runs first.
        if (!QFileInfo::exists(path)) {
            FolderTables tables(folder);
            PaletteExport(&tables.card, &tables.collection).write(path, false);
        }
        QFile written(path);
        if (!written.open(QIODevice::ReadOnly)) {
            state.SkipWithError("the export could not be written");
            return;
        }
        bytes = written.readAll();
    }
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(folder.databasePath()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, "select * from baby2 order by sn", -1, &statement, nullptr);
    const QString copy = path + QStringLiteral(".floor");
    for (auto _ : state) {
        benchmark::DoNotOptimize(readCollection(statement));
        saveBytes(copy, bytes);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

// The whole 100,000-colour card imported from a CSV into an empty
// collection, beside its floor: the file read, and the same rows inserted
// through one prepared statement in one transaction.
const QString &largeCardCsv()
{
    static const QString path = [] {
        const BenchFolder &folder = BenchFolder::shared(Card::Large, 0);
        FolderTables tables(folder);
        const QString file = QDir(folder.path()).filePath(QStringLiteral("card.csv"));
        PaletteExport(&tables.card, &tables.collection).write(file, true);
        return file;
    }();
    return path;
}

void emptyCollection(const BenchFolder &folder)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(folder.databasePath()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "delete from baby2", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The file imported into an empty collection of the 100,000-colour card:
// every card colour added once, merged rows beside it.
void importFile(benchmark::State &state, const QString &path, int merged)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Large, 0);
    DataCursor cards, colours;
    CardTable card(&cards, &colours);
    card.open(folder.databasePath());
    for (auto _ : state) {
        state.PauseTiming();
        emptyCollection(folder);
        state.ResumeTiming();
        const PaletteImport::Result result = PaletteImport(&card, folder.databasePath()).read(path);
        if (result.added != 100000 || result.merged != merged)
            state.SkipWithError(qPrintable(result.message));
    }
}

void importCard(benchmark::State &state)
{
    importFile(state, largeCardCsv(), 0);
}

// A GIMP palette of count colours of their own, written into the folder.
QString gimpPalette(const BenchFolder &folder, const QString &name, int count)
{
    const QString path = QDir(folder.path()).filePath(name);
    QSaveFile file(path);
    file.open(QIODevice::WriteOnly);
    QByteArray text = "GIMP Palette\nName: " + QByteArray::number(count) + "\n#\n";
    for (int i = 0; i < count; ++i)
        text += QByteArray::number((i * 37) % 256) + ' ' + QByteArray::number((i * 91) % 256) + ' '
            + QByteArray::number((i * 13) % 256) + "\tColour " + QByteArray::number(i) + '\n';
    file.write(text);
    file.commit();
    return path;
}

// A legal file near the size limit: the 100,000-colour card's codes and
// colours 33 times over, 3.3 million rows (56 MB).
const QString &millionsCsv()
{
    static const QString path = [] {
        const QString file = QDir(BenchFolder::shared(Card::Large, 0).path()).filePath(QStringLiteral("millions.csv"));
        QFile card(largeCardCsv());
        card.open(QIODevice::ReadOnly);
        QByteArray lines;
        card.readLine();
        while (!card.atEnd()) {
            const QList<QByteArray> fields = card.readLine().split(',');
            lines += fields.value(0) + ',' + fields.value(1) + '\n';
        }
        QSaveFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write("code,hex\n");
        for (int i = 0; i < 33; ++i)
            out.write(lines);
        out.commit();
        return file;
    }();
    return path;
}

// It imported into an empty collection; its time per colour beside the
// 100,000-colour import's.
void importMillions(benchmark::State &state)
{
    importFile(state, millionsCsv(), 3200000);
}

// The preview of the same 3.3 million rows, as the window holds it while
// the user looks: the heap its plan takes and the dialog's own beside it,
// as counters beside its time.
void previewMillions(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Large, 0);
    const QString path = millionsCsv();
    DataCursor cards, colours;
    CardTable card(&cards, &colours);
    card.open(folder.databasePath());
    PaletteImport import(&card, folder.databasePath());
    const QSet<QString> collected = import.collectedNow().value;
    for (auto _ : state) {
        const struct mallinfo2 before = mallinfo2();
        const PaletteImport::Plan plan = import.plan(path, collected);
        const struct mallinfo2 read = mallinfo2();
        {
            ImportPreviewDialog dialog(plan, [](const QVector<bool> &, double) { return PaletteImport::Result(); });
            dialog.show();
            QCoreApplication::processEvents();
            const struct mallinfo2 shown = mallinfo2();
            state.counters["dialog_MB"] = double(shown.uordblks + shown.hblkhd - read.uordblks - read.hblkhd) / 1e6;
        }
        state.counters["heap_MB"] = double(read.uordblks + read.hblkhd - before.uordblks - before.hblkhd) / 1e6;
        if (plan.rows.size() != 3300000)
            state.SkipWithError("the palette was not read");
    }
}

// How soon a read stops once Cancel is pressed: a million-line palette read
// and matched on a thread of its own, as the window reads it, cancelled
// 100 ms in; the time from Cancel to the thread's end.
void cancelLatency(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 0);
    const QString path = gimpPalette(folder, QStringLiteral("million.gpl"), 1000000);
    DataCursor cards, colours;
    CardTable card(&cards, &colours);
    card.open(folder.databasePath());
    PaletteImport import(&card, folder.databasePath());
    const QSet<QString> collected = import.collectedNow().value;
    for (auto _ : state) {
        std::atomic_bool cancel{false};
        PaletteImport::Plan plan;
        std::thread reading([&] { plan = import.plan(path, collected, &cancel); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto pressed = std::chrono::steady_clock::now();
        cancel = true;
        reading.join();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - pressed).count());
        if (!plan.cancelled)
            state.SkipWithError("the read ended before Cancel");
    }
}

// The floor's two parts, each a function of its own so that a profiler can
// count them apart: the file read, and the rows inserted and committed.
__attribute__((noinline)) qint64 readPaletteFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().size();
}

__attribute__((noinline)) void insertCodes(sqlite3 *db, sqlite3_stmt *insert, const QStringList &codes)
{
    sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr);
    for (const QString &code : codes) {
        sqlite3_bind_text16(insert, 1, code.utf16(), int(code.size() * 2), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

void importFloor(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Large, 0);
    const QString csv = largeCardCsv();
    QStringList codes;
    {
        QFile file(csv);
        file.open(QIODevice::ReadOnly);
        const QList<QByteArray> lines = file.readAll().split('\n');
        for (int i = 1; i < lines.size(); ++i) {
            if (!lines.at(i).isEmpty())
                codes.append(QString::fromUtf8(lines.at(i).left(lines.at(i).indexOf(','))));
        }
    }
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(folder.databasePath()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "insert into baby2 (ccard_name, code) values ('5327', ?)", -1, &insert, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        emptyCollection(folder);
        state.ResumeTiming();
        benchmark::DoNotOptimize(readPaletteFile(csv));
        insertCodes(db, insert, codes);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

// The import's preview of a 5,000-colour palette of colours of their own
// (each matched to the nearest of the shipped card's colours): the file
// read and matched, and the dialog built and shown.
void previewOpen(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 0);
    const QString path = gimpPalette(folder, QStringLiteral("five-thousand.gpl"), 5000);
    DataCursor cards, colours;
    CardTable card(&cards, &colours);
    card.open(folder.databasePath());
    for (auto _ : state) {
        PaletteImport import(&card, folder.databasePath());
        const PaletteImport::Plan plan = import.plan(path, import.collectedNow().value);
        if (plan.rows.size() != 5000)
            state.SkipWithError("the palette was not read");
        ImportPreviewDialog dialog(plan, [](const QVector<bool> &, double) { return PaletteImport::Result(); });
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.isVisible());
    }
}

// --- Start-up ---------------------------------------------------------------

void startUp(benchmark::State &state)
{
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 10);
    for (auto _ : state) {
        TestWindow form(folder.path());
        form.show();
        benchmark::DoNotOptimize(form.pagen_text());
    }
}

void registerAll()
{
    benchmark::RegisterBenchmark("floor/page_query", pageQueryFloor);
    benchmark::RegisterBenchmark("floor/eight_widgets", eightWidgetsFloor);
    benchmark::RegisterBenchmark("pageMove/rows_1000", pageMoveRows, 1);
    benchmark::RegisterBenchmark("pageMove/rows_10000", pageMoveRows, 2);
    const std::pair<const char *, Card> cards[] = {{"shipped", Card::Shipped}, {"large", Card::Large}};
    for (const auto &[name, card] : cards) {
        benchmark::RegisterBenchmark((std::string("pageMove/") + name).c_str(), pageMove, card);
        benchmark::RegisterBenchmark((std::string("enterCode_found/") + name).c_str(), enterCode, card, true);
        benchmark::RegisterBenchmark((std::string("enterCode_missing/") + name).c_str(), enterCode, card,
                                     false);
    }
    for (int size : collectionSizes) {
        const std::string n = std::to_string(size);
        benchmark::RegisterBenchmark(("collection_step/" + n).c_str(), collectionStep, size);
        benchmark::RegisterBenchmark(("addtoBaby_new/" + n).c_str(), addNew, size);
        benchmark::RegisterBenchmark(("addtoBaby_duplicate/" + n).c_str(), addDuplicate, size);
        benchmark::RegisterBenchmark(("babyDelete/" + n).c_str(), deleteEntry, size);
    }
    benchmark::RegisterBenchmark("startup", startUp)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("sheet/card_pdf", cardSheet)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("vision/choice_to_frame", visionChoice)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("import/csv", importCard)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("floor/import_csv", importFloor)->Unit(benchmark::kMillisecond);
    // Seconds each: three runs, not the nine of the others.
    benchmark::RegisterBenchmark("import/csv_3300000", importMillions)->Unit(benchmark::kMillisecond)
        ->Iterations(1)->Repetitions(3);
    benchmark::RegisterBenchmark("import/preview_3300000", previewMillions)->Unit(benchmark::kMillisecond)
        ->Iterations(1)->Repetitions(3);
    benchmark::RegisterBenchmark("import/cancel_latency", cancelLatency)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("import/preview_5000", previewOpen)->Unit(benchmark::kMillisecond);
    for (const char *suffix : {"gpl", "csv"}) {
        benchmark::RegisterBenchmark((std::string("export/") + suffix).c_str(), exportCollection, suffix)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("floor/export_") + suffix).c_str(), exportFloor, suffix)
            ->Unit(benchmark::kMillisecond);
    }
}

// The program and the bare window, each from process start to first frame.
ProcessComparison measureProcesses()
{
    constexpr int runs = 51;
    const BenchFolder &folder = BenchFolder::shared(Card::Shipped, 10);
    const QString copy = QDir(folder.path()).filePath(QStringLiteral("tesselle"));
    QFile::remove(copy);
    QFile::copy(QStringLiteral(TESSELLE_PROGRAM), copy);
    // The program's font configuration lies beside it, as the build lays it out.
    const QString fonts = QDir(folder.path()).filePath(QStringLiteral("fonts.conf"));
    QFile::remove(fonts);
    QFile::copy(QFileInfo(QStringLiteral(TESSELLE_PROGRAM)).absoluteDir().filePath(QStringLiteral("fonts.conf")),
                fonts);
    // Warm the file cache once for both, then measure them by turns, so that
    // both meet the machine in the same state.
    ProcessFigure::Sample sample;
    ProcessFigure::run(copy, folder.path(), &sample);
    ProcessFigure::run(QStringLiteral(TESSELLE_BARE_WINDOW), folder.path(), &sample);
    std::vector<ProcessFigure::Sample> programSamples;
    std::vector<ProcessFigure::Sample> bareSamples;
    for (int i = 0; i < runs; ++i) {
        if (!ProcessFigure::run(copy, folder.path(), &sample))
            return {};
        programSamples.push_back(sample);
        if (!ProcessFigure::run(QStringLiteral(TESSELLE_BARE_WINDOW), folder.path(), &sample))
            return {};
        bareSamples.push_back(sample);
    }
    return ProcessComparison::of(programSamples, bareSamples);
}

} // namespace

int main(int argc, char *argv[])
{
    // Offscreen unless a platform is asked for: scripts/bench.sh measures
    // the page move again on X with a screen reader's bridge active.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A run of some benchmarks only prints the ratios it measured.
    const bool partial = std::any_of(argv + 1, argv + argc, [](const char *argument) {
        return std::strncmp(argument, "--benchmark_filter", 18) == 0;
    });
    benchmark::Initialize(&argc, argv);
    registerAll();
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    bool met = partial ? printMeasuredRatios(reporter.times())
                       : printRatios(reporter.times(), measureProcesses());
    // A partial run on X (bench-profile.sh) measures start-up beside the
    // bare window too, each on the platform it is given.
    if (partial && qEnvironmentVariableIsSet("TESSELLE_BENCH_PROCESSES"))
        met = printProcessRatios(measureProcesses()) && met;
    benchmark::Shutdown();
    return met ? 0 : 1;
}
