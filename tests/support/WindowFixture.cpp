// SPDX-License-Identifier: MIT
#include "WindowFixture.h"

#include "WindowDriver.h"

#include <QTest>

void WindowFixture::createFolder(const QVector<CardRow> &card)
{
    m_failures = std::make_unique<FailureRecorder>();
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(card);
}

bool WindowFixture::openWindow(bool ready)
{
    m_form = std::make_unique<TestWindow>(m_folder->path());
    return !ready || WindowDriver::showReady(*m_form);
}

void WindowFixture::cleanup()
{
    m_form.reset();
    m_folder.reset();
    const QList<DatabaseFailure> failures = m_failures ? m_failures->failures : QList<DatabaseFailure>();
    m_failures.reset();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).text()));
}
