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

    QString helpText() const;

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_database;
    QString m_extra;  // an argument that is no option
};
