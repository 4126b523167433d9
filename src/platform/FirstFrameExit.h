// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QWidget;

// Ends the application once a window has painted its first frame, after
// printing the process's peak memory: a measurement switch, set by
// TESSELLE_EXIT_AFTER_FIRST_FRAME, for timing start-up from outside.
class FirstFrameExit : public QObject
{
    Q_OBJECT

public:
    explicit FirstFrameExit(QWidget *window);

    // Watches window when the switch is set in the environment.
    static void installIfRequested(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static void reportPeakMemory();

    QWidget *m_window;
    bool m_painted = false;
};
