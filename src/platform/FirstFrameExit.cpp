// SPDX-License-Identifier: MIT
#include "platform/FirstFrameExit.h"

#include <QCoreApplication>
#include <QFile>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

FirstFrameExit::FirstFrameExit(QWidget *window) : QObject(window), m_window(window)
{
}

void FirstFrameExit::installIfRequested(QWidget *window)
{
    if (qEnvironmentVariableIsSet("TESSELLE_EXIT_AFTER_FIRST_FRAME"))
        qApp->installEventFilter(new FirstFrameExit(window));
}

// The process's own peak resident memory, for the measurement: it counts
// nothing of whatever process started this one.
void FirstFrameExit::reportPeakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            std::printf("peak-memory-kb: %s\n", line.mid(6).trimmed().split(' ').value(0).constData());
            std::fflush(stdout);
        }
    }
}

bool FirstFrameExit::eventFilter(QObject *watched, QEvent *event)
{
    // The first paint of any part of the window starts its first frame;
    // quit once that frame is done, when the event loop next runs.
    if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == m_window) {
        m_painted = true;
        QTimer::singleShot(0, qApp, [] {
            reportPeakMemory();
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}
