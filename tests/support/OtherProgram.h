// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// Another program on the same database: SQLite's own command line, which
// takes a lock by the statements it is given and holds it until commit().
class OtherProgram
{
public:
    explicit OtherProgram(const QString &databasePath);
    ~OtherProgram();
    OtherProgram(const OtherProgram &) = delete;
    OtherProgram &operator=(const OtherProgram &) = delete;

    // Runs the statements (a "begin …" among them) and waits until they have
    // run; false, with what the program said in why, when they did not.
    bool hold(const QByteArray &statements, QByteArray *why);
    // Commits and quits; false when the program did not end.
    bool commit();

private:
    QString m_databasePath;
    QProcess m_process;
};
