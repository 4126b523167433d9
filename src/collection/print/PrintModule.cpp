// SPDX-License-Identifier: MIT
// The part of the program that prints, loaded on first use (see
// SheetPrinting.h): the system's print dialog, then the sheet on the printer.
#include "collection/SheetPrinting.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT bool tesselle_print_sheet(QWidget *parent, const QString &title, const QPageSize &paper,
                                                   const QString &docName, const SheetPrinting::Paint &paint,
                                                   QString *destination)
{
    QPrinter printer;
    printer.setPageSize(paper);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printer.setDocName(docName);
    paint(&printer);
    *destination = printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
    return true;
}
