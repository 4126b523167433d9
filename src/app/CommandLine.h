// SPDX-License-Identifier: MIT
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// Every option of the program, read by one parser before anything else is
// set up, so that options which open no window need no display. Qt's own
// options (-platform, -style, …) are accepted and left for Qt.
class CommandLine
{
public:
    CommandLine();

    // Reads the arguments (the program's name first); false, with error(),
    // when they are not understood.
    bool parse(const QStringList &arguments);
    QString error() const;

    bool wantsHelp() const { return m_parser.isSet(m_help); }
    bool wantsVersion() const { return m_parser.isSet(m_version); }
    QString database() const { return m_parser.value(m_database); }
    QString exportFile() const { return m_parser.value(m_export); }
    bool wholeCard() const { return m_parser.isSet(m_card); }
    QString nearest() const { return m_parser.value(m_nearest); }
    QString importFile() const { return m_parser.value(m_import); }
    bool wantsNearest() const { return m_parser.isSet(m_nearest); }
    bool wantsImport() const { return m_parser.isSet(m_import); }
    bool wantsExport() const { return m_parser.isSet(m_export); }
    bool wantsVisionCheck() const { return m_parser.isSet(m_checkVision); }
    bool wantsSeeAs() const { return m_parser.isSet(m_seeAs); }
    QString seeAs() const { return m_parser.value(m_seeAs); }
    // The largest ΔE00 an import takes a nearest match at: infinity when
    // not given, NaN when given but not a number 0 or more.
    double maxDelta() const;
    // How many nearest colours to list; 0 when the count is not a number
    // from 1 to 100.
    int count() const;
    // Whether the options ask for work that opens no window.
    bool opensNoWindow() const;

    QString helpText() const;

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_database;
    QCommandLineOption m_export;
    QCommandLineOption m_card;
    QCommandLineOption m_nearest;
    QCommandLineOption m_import;
    QCommandLineOption m_count;
    QCommandLineOption m_maxDelta;
    QCommandLineOption m_checkVision;
    QCommandLineOption m_seeAs;
    QString m_extra;  // an argument that is no option
};
