#include "app/FontSetup.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char *const fontFolders[] = {
    "/usr/share/fonts/truetype/liberation",
    "/usr/share/fonts/truetype/dejavu",
};

} // namespace

void useProgramFontConfiguration(const char *argv0)
{
    if (qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
        return;
    // The executable's folder, before there is an application to ask.
    QFileInfo executable(QStringLiteral("/proc/self/exe"));
    QString folder = executable.exists() ? QFileInfo(executable.canonicalFilePath()).absolutePath()
                                         : QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
    const QString config = QDir(folder).filePath(QStringLiteral("fonts.conf"));
    if (!QFileInfo(config).isFile())
        return;
    for (const char *fontFolder : fontFolders) {
        if (!QFileInfo(QString::fromLatin1(fontFolder)).isDir())
            return;
    }
    qputenv("FONTCONFIG_FILE", QFile::encodeName(config));
}
