// SPDX-License-Identifier: MIT
#include "collection/ImportProgress.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <QWidget>

#include <atomic>
#include <memory>

namespace {

// Holds back the user's input to one window (the progress dialog, a window
// of its own, still takes it).
class InputHold : public QObject
{
public:
    explicit InputHold(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            break;
        default:
            return false;
        }
        auto *widget = qobject_cast<QWidget *>(watched);
        return widget && widget->window() == m_window;
    }

private:
    QWidget *m_window;
};

} // namespace

PaletteImport::Plan ImportProgress::plan(QWidget *window, const PaletteImport &import, const QString &path)
{
    // What is collected is read here, in the window's thread, through the
    // table's wait; the rest touches no database.
    const TableResult<QSet<QString>> read = import.collectedNow();
    if (read.refused()) {
        PaletteImport::Plan refused;
        refused.path = path;
        refused.error = refusalText(read.refusal, import.databasePath());
        return refused;
    }
    const QSet<QString> &collected = read.value;
    std::atomic_bool cancel{false};
    PaletteImport::Plan plan;
    std::unique_ptr<QThread> worker(QThread::create([&] { plan = import.plan(path, collected, &cancel); }));

    const InputHold hold(window);
    QProgressDialog progress(QCoreApplication::translate("ImportProgress", "Reading %1…").arg(QFileInfo(path).fileName()),
                             QCoreApplication::translate("ImportProgress", "Cancel"), 0, 0, window);
    progress.setObjectName(QStringLiteral("importProgress"));
    progress.setWindowTitle(QCoreApplication::translate("ImportProgress", "Reading a palette"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    // The clock starts at the first value: without one the dialog would
    // wait its default four seconds.
    progress.setValue(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [&cancel] { cancel = true; });
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    progress.hide();
    if (cancel)
        plan.cancelled = true;
    return plan;
}
