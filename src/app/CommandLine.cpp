#include "app/CommandLine.h"

namespace {

// Qt's own command-line options, which QApplication takes out of the
// arguments itself: the first ones take a value.
const char *const qtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "display", "geometry",
    "title", "name", "visual", "qmljsdebugger",
};
const char *const qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "ncols", "cmap"};

} // namespace

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Show the program's version and exit.")),
      m_database(QStringLiteral("database"),
                 QStringLiteral("Open FILE as the database, as it is: it is not created or updated."),
                 QStringLiteral("FILE"))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Tesselle 5327: browse a colour card and keep a collection of colours."));
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addOption(m_database);
    for (const char *name : qtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
    for (const char *name : qtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
}

bool CommandLine::parse(const QStringList &arguments)
{
    if (!m_parser.parse(arguments))
        return false;
    if (!m_parser.positionalArguments().isEmpty()) {
        // QCommandLineParser has no way to report this itself.
        m_extra = m_parser.positionalArguments().first();
        return false;
    }
    return true;
}

QString CommandLine::error() const
{
    return m_extra.isEmpty() ? m_parser.errorText()
                             : QStringLiteral("Unexpected argument '%1'.").arg(m_extra);
}

QString CommandLine::helpText() const
{
    return m_parser.helpText();
}
