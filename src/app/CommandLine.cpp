// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include "colour/PaletteFormat.h"

#include <cmath>
#include <limits>

namespace {

// Qt's own command-line options, which QApplication takes out of the
// arguments itself: the first ones take a value.
const char *const qtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "display", "geometry",
    "title", "name", "visual", "qmljsdebugger",
};
// The palette formats for the help, from the one table: suffix, then name.
QString formatList(bool reading)
{
    QStringList items;
    for (const PaletteFormat &f : PaletteFormat::all()) {
        if (reading ? f.reads : f.writes)
            items.append(QStringLiteral(".%1 (%2)").arg(f.suffixes.join(QStringLiteral(", .")), f.name));
    }
    return items.join(QStringLiteral(", "));
}

const char *const qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "ncols", "cmap"};

} // namespace

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Show the program's version and exit.")),
      m_database(QStringLiteral("database"),
                 QStringLiteral("Open FILE as the database, as it is: it is not created or updated."),
                 QStringLiteral("FILE")),
      m_export(QStringLiteral("export"),
               QStringLiteral("Write the collection to FILE and exit. The format follows the name: %1. "
                              "A .pdf is a swatch sheet to print, on the paper of LC_PAPER. FILE is written "
                              "whole beside its place, then moved there: what FILE names, links followed, must "
                              "be a regular file or nothing yet; a pipe, a device or standard output "
                              "(/dev/stdout) is refused and left as it is.")
                   .arg(formatList(false)),
               QStringLiteral("FILE")),
      m_card(QStringLiteral("card"), QStringLiteral("With --export: write the whole card instead.")),
      m_nearest(QStringLiteral("nearest"),
                QStringLiteral("List the card colours nearest COLOUR by CIEDE2000 and exit. COLOUR is a code "
                               "(k8.04.43), #rrggbb, rrggbb, rgb(r, g, b) or \"R G B\"."),
                QStringLiteral("COLOUR")),
      m_import(QStringLiteral("import"),
               QStringLiteral("Add the colours of FILE to the collection and exit: a card code is taken as it "
                              "is, any other colour as the nearest card colour; colours collected already are "
                              "skipped, and the report says why each colour was skipped. FILE is %1. CMYK is "
                              "read through Ghostscript's default_cmyk.icc. Exit status: 0 every colour read, "
                              "3 some colours could not be read and the rest were taken, 1 the file could not "
                              "be read or nothing was written because of an error, 2 a usage error.")
                   .arg(formatList(true)),
               QStringLiteral("FILE")),
      m_count(QStringLiteral("count"), QStringLiteral("With --nearest: how many colours to list (1-100, 5 if not given)."),
              QStringLiteral("N"), QStringLiteral("5")),
      m_maxDelta(QStringLiteral("max-delta"),
                 QStringLiteral("With --import: take a colour matched to the nearest card colour only when its "
                                "\u0394E00 is at most E; farther ones are skipped and counted."),
                 QStringLiteral("E")),
      m_checkVision(QStringLiteral("check-vision"),
                    QStringLiteral("List the pairs of collected colours that a person with protanopia, "
                                   "deuteranopia, tritanopia or achromatopsia cannot tell apart (CIEDE2000 below "
                                   "3 as they see them, 10 or more in normal vision), one pair a line: the "
                                   "deficiency, both codes, both differences; with --card, the pairs on each page "
                                   "of the card, and exit.")),
      m_seeAs(QStringLiteral("see-as"),
              QStringLiteral("With --export to a .pdf: print the patches as VISION sees them (protanopia, "
                             "deuteranopia, tritanopia or achromatopsia; the first three may take a severity, "
                             "deuteranopia:0.6); codes and values stay the card's."),
              QStringLiteral("VISION"))
{
    m_parser.setApplicationDescription(QStringLiteral(
        "Tesselle 5327: browse a colour card and keep a collection of colours.\n"
        "\n"
        "Keys (outside the page-number box and the code fields, which keep\n"
        "their own rules; keys marked anywhere act there too):\n"
        "  Space, Enter           on a button: press it\n"
        "  arrows, Enter          on the palette: move round the wheel, open the\n"
        "                         sector's page\n"
        "  Ctrl+1, Ctrl+2         anywhere: the card, the collection\n"
        "  Down, Up               on the card: frame the next, the previous swatch\n"
        "  PageDown, PageUp       on the card: next, previous page\n"
        "  Home, End              on the card: first, last page\n"
        "  Ctrl+Enter, A          on the card: add the framed colour\n"
        "  Right, Left            on the collection: next, previous entry\n"
        "  Delete                 on the collection: delete the entry shown\n"
        "  Ctrl+Z, Ctrl+Shift+Z   undo, redo the last delete\n"
        "  Ctrl+C                 copy the framed colour's code\n"
        "  Ctrl+F                 anywhere: find the nearest card colour\n"
        "  Ctrl+Shift+V           on the card or the collection: see the colours\n"
        "                         as a colour-blind person does (next vision)\n"
        "  Menu, Shift+F10        the context menu of what has the keyboard\n"
        "  any key                while the intro is shown: dismiss it"));
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addOption(m_database);
    m_parser.addOption(m_export);
    m_parser.addOption(m_card);
    m_parser.addOption(m_nearest);
    m_parser.addOption(m_import);
    m_parser.addOption(m_count);
    m_parser.addOption(m_maxDelta);
    m_parser.addOption(m_checkVision);
    m_parser.addOption(m_seeAs);
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

int CommandLine::count() const
{
    bool ok = false;
    const int n = m_parser.value(m_count).toInt(&ok);
    return ok && n >= 1 && n <= 100 ? n : 0;
}

double CommandLine::maxDelta() const
{
    if (!m_parser.isSet(m_maxDelta))
        return std::numeric_limits<double>::infinity();
    bool ok = false;
    const double value = m_parser.value(m_maxDelta).toDouble(&ok);
    return ok && std::isfinite(value) && value >= 0 ? value : std::numeric_limits<double>::quiet_NaN();
}

bool CommandLine::opensNoWindow() const
{
    return m_parser.isSet(m_export) || m_parser.isSet(m_nearest) || m_parser.isSet(m_import)
        || m_parser.isSet(m_checkVision) || m_parser.isSet(m_seeAs);
}

QString CommandLine::helpText() const
{
    // Asked before there is an application to name the program.
    QString text = m_parser.helpText();
    text.replace(QLatin1String("<executable_name>"), QLatin1String("tesselle"));
    return text;
}
