// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStringList>

// Another program over the same database: the collection driver in its
// serving mode (tests/tools/collection_driver.cpp), a real window in a
// process of its own, told one action at a time.
class ServingDriver
{
public:
    // Starts it over the program folder; extra is added to its environment.
    explicit ServingDriver(const QString &folder, const QProcessEnvironment &extra = {});
    ~ServingDriver();
    ServingDriver(const ServingDriver &) = delete;
    ServingDriver &operator=(const ServingDriver &) = delete;

    // Runs one action and returns the window's state after it (the text of
    // the driver's "DONE" line); "<no answer>" with the driver's errors
    // when it did not answer within timeoutMs or ended.
    QString act(const QString &command, int timeoutMs = 120000);
    // The collection panel's part of that state: "3/4 T0.01.03".
    static QString panelOf(const QString &state);

    // What the last action told the user: the collection panel's notices,
    // and what the window's notice showed while it ran.
    const QStringList &notices() const { return m_notices; }
    const QStringList &shown() const { return m_shown; }
    // Whether the pointer was a busy cursor at some moment of the action.
    bool sawWaitCursor() const { return m_sawWaitCursor; }

    QString errors();
    // Ends it at once with SIGKILL, as a crash or a power cut would.
    void kill();

private:
    QProcess m_process;
    QStringList m_notices;
    QStringList m_shown;
    bool m_sawWaitCursor = false;
    QString m_errors;
};
