// SPDX-License-Identifier: MIT
#include "OtherProgram.h"

OtherProgram::OtherProgram(const QString &databasePath)
    : m_databasePath(databasePath)
{
}

OtherProgram::~OtherProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

bool OtherProgram::hold(const QByteArray &statements, QByteArray *why)
{
    m_process.start(QStringLiteral("sqlite3"), {m_databasePath});
    if (!m_process.waitForStarted()) {
        *why = m_process.errorString().toUtf8();
        return false;
    }
    m_process.write(statements + "\n.print locked\n");
    QByteArray said;
    while (!said.contains("locked") && m_process.waitForReadyRead(10000))
        said += m_process.readAllStandardOutput();
    if (said.contains("locked"))
        return true;
    *why = said + m_process.readAllStandardError();
    return false;
}

bool OtherProgram::commit()
{
    m_process.write("commit;\n.quit\n");
    m_process.closeWriteChannel();
    return m_process.waitForFinished(10000);
}
