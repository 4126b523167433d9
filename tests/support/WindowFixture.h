// SPDX-License-Identifier: MIT
#pragma once

#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "TestWindow.h"

#include <QObject>

#include <memory>

// What the window tests share: a fresh program folder with a card database
// for every test, the real window over it, and database failures recorded
// rather than ending the process. A test that expects no failure gets its
// cleanup's check for free.
class WindowFixture : public QObject
{
    Q_OBJECT

protected:
    // A new program folder whose database holds card and an empty
    // collection.
    void createFolder(const QVector<CardRow> &card);
    // The real window over the folder; shown, with the intro dismissed and
    // the window active, when ready is true. False if it could not be shown.
    bool openWindow(bool ready = true);

    std::unique_ptr<FailureRecorder> m_failures;
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<TestWindow> m_form;

protected slots:
    // Closes the window and removes the folder; no failure may have been
    // recorded.
    void cleanup();
};
