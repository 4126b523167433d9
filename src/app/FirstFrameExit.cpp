#include "app/FirstFrameExit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

FirstFrameExit::FirstFrameExit(QWidget *window) : QObject(window), m_window(window)
{
}

void FirstFrameExit::installIfRequested(QWidget *window)
{
    if (qEnvironmentVariableIsSet("TESSELLE_EXIT_AFTER_FIRST_FRAME"))
        qApp->installEventFilter(new FirstFrameExit(window));
}

bool FirstFrameExit::eventFilter(QObject *watched, QEvent *event)
{
    // The first paint of any part of the window starts its first frame;
    // quit once that frame is done, when the event loop next runs.
    if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == m_window) {
        m_painted = true;
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
}
