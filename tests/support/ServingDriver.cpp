// SPDX-License-Identifier: MIT
#include "ServingDriver.h"

#include <QElapsedTimer>

ServingDriver::ServingDriver(const QString &folder, const QProcessEnvironment &extra)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(extra);
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(TESSELLE_COLLECTION_DRIVER), {folder, QStringLiteral("serve")});
    m_process.waitForStarted();
}

ServingDriver::~ServingDriver()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QString ServingDriver::errors()
{
    m_errors += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_errors;
}

void ServingDriver::kill()
{
    m_process.kill();
    m_process.waitForFinished();
}

QString ServingDriver::act(const QString &command, int timeoutMs)
{
    m_notices.clear();
    m_shown.clear();
    m_sawWaitCursor = false;
    m_process.write(command.toUtf8() + '\n');
    QElapsedTimer timer;
    timer.start();
    while (!timer.hasExpired(timeoutMs)) {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).chopped(1);
            if (line.startsWith(QLatin1String("DONE ")))
                return line.mid(5);
            if (line.startsWith(QLatin1String("NOTICE ")))
                m_notices.append(line.mid(7));
            else if (line.startsWith(QLatin1String("SHOWN ")))
                m_shown.append(line.mid(6));
            else if (line == QLatin1String("SEEN wait cursor"))
                m_sawWaitCursor = true;
        }
        if (m_process.state() == QProcess::NotRunning)
            break;
        m_process.waitForReadyRead(100);
    }
    return QStringLiteral("<no answer> ") + errors();
}

QString ServingDriver::panelOf(const QString &state)
{
    return state.section(QLatin1Char(' '), 0, 1);
}
