// SPDX-License-Identifier: MIT
#include "collection/SheetPrinting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QPageSize>
#include <QStringList>

namespace {

const char moduleName[] = "tesselle-print.so";

using PrintSheet = bool (*)(QWidget *, const QString &, const QPageSize &, const QString &,
                            const SheetPrinting::Paint &, QString *);

} // namespace

QStringList SheetPrinting::moduleCandidates()
{
    const QDir beside(QCoreApplication::applicationDirPath());
    return {beside.filePath(QLatin1String(moduleName)),
            QDir::cleanPath(beside.filePath(QStringLiteral("../" TESSELLE_MODULE_DIR "/") + QLatin1String(moduleName)))};
}

SheetPrinting::Outcome SheetPrinting::print(QWidget *parent, const QString &title, const QPageSize &paper,
                                            const QString &docName, const Paint &paint)
{
    Outcome outcome;
    // Loaded once and kept: the dialog's classes must outlive any print.
    static QLibrary module;
    static PrintSheet printSheet = nullptr;
    if (!printSheet) {
        QString failure;
        for (const QString &candidate : moduleCandidates()) {
            if (!QFile::exists(candidate))
                continue;
            // Loading reads the file: a FIFO there would block the window
            // for ever, a device would never end.
            if (!QFileInfo(candidate).isFile()) {
                failure = QCoreApplication::translate("SheetPrinting", "%1 is not a regular file.")
                              .arg(QDir::toNativeSeparators(candidate));
                continue;
            }
            module.setFileName(candidate);
            printSheet = reinterpret_cast<PrintSheet>(module.resolve("tesselle_print_sheet"));
            if (printSheet)
                break;
            failure = module.errorString();
        }
        if (!printSheet) {
            outcome.error = failure.isEmpty()
                ? QCoreApplication::translate("SheetPrinting", "Printing is not installed: %1 was not found.")
                      .arg(QDir::toNativeSeparators(moduleCandidates().constLast()))
                : QCoreApplication::translate("SheetPrinting", "Printing cannot be used: %1").arg(failure);
            return outcome;
        }
    }
    outcome.printed = printSheet(parent, title, paper, docName, paint, &outcome.destination);
    return outcome;
}
