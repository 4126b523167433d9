// SPDX-License-Identifier: MIT
#include "platform/FontSetup.h"

#include <QDir>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

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
    // Beside the executable, or in the installation's data folder.
    QString config = QDir(folder).filePath(QStringLiteral("fonts.conf"));
    if (!QFileInfo(config).isFile())
        config = QDir(folder).filePath(QStringLiteral("../share/tesselle/fonts.conf"));
    if (!QFileInfo(config).isFile())
        return;
    for (const char *fontFolder : fontFolders) {
        if (!QFileInfo(QString::fromLatin1(fontFolder)).isDir())
            return;
    }
    const QByteArray file = QFile::encodeName(config);
    // Should the font system ever reload its configuration, it reads this file.
    qputenv("FONTCONFIG_FILE", file);

    // Load the file as the current configuration now, before Qt starts the
    // font system: left to itself, fontconfig would also parse every
    // configuration template on the machine, which costs more than the rest
    // of the font set-up together.
    FcConfig *own = FcConfigCreate();
    if (!own)
        return;
    if (FcConfigParseAndLoad(own, reinterpret_cast<const FcChar8 *>(file.constData()), FcTrue)
        && FcConfigBuildFonts(own))
        FcConfigSetCurrent(own);  // takes its own reference
    FcConfigDestroy(own);
}
