// SPDX-License-Identifier: MIT
#include "collection/SwatchSheet.h"

#include "colour/PaletteWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTransform>

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

// The sheet's measures, in millimetres.
constexpr double Margin = 15;
constexpr double HeaderHeight = 12;
constexpr double EntryHeight = 18;
constexpr double PatchWidth = 24;
constexpr double PatchHeight = 14;
constexpr double TextGap = 4;
constexpr int Columns = 2;

QString hexOf(QRgb rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0'));
}

// The colour to paint for an sRGB value so that a reader of the file gets
// that value back. A PDF holds each channel as a fraction of 1: n/255 as
// written lies a hair below n/255, which a reader that truncates (MuPDF)
// reads as n - 1. A quarter of a level above n, in the 16 bits the colour
// keeps, is n both for it and for the readers that round (Ghostscript,
// Poppler); 0 and 255 stay exactly 0 and 1.
QColor patchColour(QRgb rgb)
{
    const auto channel = [](int n) { return quint16(std::min(65535, n * 257 + (n > 0 ? 64 : 0))); };
    return QColor::fromRgba64(channel(qRed(rgb)), channel(qGreen(rgb)), channel(qBlue(rgb)));
}

// The sheet's pages: each a title and its entries.
struct SheetPage
{
    QString title;
    QVector<const PaletteEntry *> entries;
};

} // namespace

SwatchSheet::SwatchSheet(QVector<PaletteEntry> entries, bool wholeCard)
    : m_entries(std::move(entries)), m_wholeCard(wholeCard)
{
}

QPageSize SwatchSheet::localPaper()
{
    // The paper of LC_PAPER (or LC_ALL, LANG) as the C library has it for
    // that locale, without touching the program's own locale.
    QPageSize paper(QPageSize::A4);
    if (locale_t locale = newlocale(LC_PAPER_MASK, "", nullptr)) {
        const auto width = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, locale)));
        const auto height = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo_l(_NL_PAPER_HEIGHT, locale)));
        if (width == 216 && height == 279)
            paper = QPageSize(QPageSize::Letter);
        freelocale(locale);
    }
    return paper;
}

bool SwatchSheet::writePdf(const QString &path, QString *error) const
{
    // Written beside the file and put in its place at the end, so that a
    // failure leaves what was there.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        // PDF/A-1b: the file carries an sRGB output intent, so that a
        // colour-managed printing path knows what its numbers mean.
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setTitle(m_wholeCard ? QStringLiteral("Tesselle 5327") : QStringLiteral("Tesselle 5327 collection"));
        writer.setCreator(QStringLiteral("Tesselle 5327"));
        writer.setResolution(600);
        const QPageSize paper = localPaper();
        writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        paint(&writer);
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString SwatchSheet::docName() const
{
    return m_wholeCard ? QStringLiteral("Tesselle 5327") : QStringLiteral("Tesselle 5327 collection");
}

QString SwatchSheet::visionNote(const VisionSimulation::Vision &vision)
{
    if (vision.deficiency == VisionSimulation::Deficiency::None)
        return QString();
    return QCoreApplication::translate("SwatchSheet", "Patches as seen with %1; codes and values are the card's.")
        .arg(VisionSimulation::title(vision).toLower());
}

void SwatchSheet::paint(QPagedPaintDevice *device) const
{
    // The entries by sheet page: the whole card a card page to a sheet
    // page, the collection as many as fit.
    QVector<SheetPage> pages;
    const double mmX = device->logicalDpiX() / 25.4;
    const double mmY = device->logicalDpiY() / 25.4;
    const double pageWidth = device->width() / mmX;
    const double pageHeight = device->height() / mmY;
    const int rows = std::max(1, int((pageHeight - 2 * Margin - HeaderHeight) / EntryHeight));
    const int perPage = rows * Columns;
    const QString collectionTitle = QCoreApplication::translate("SwatchSheet", "Tesselle 5327: my colours");
    for (const PaletteEntry &entry : m_entries) {
        const QString title = m_wholeCard
            ? QCoreApplication::translate("SwatchSheet", "Tesselle 5327: card page %1").arg(entry.page)
            : collectionTitle;
        if (pages.isEmpty() || pages.last().title != title || pages.last().entries.size() >= perPage)
            pages.append({title, {}});
        pages.last().entries.append(&entry);
    }
    if (pages.isEmpty())
        pages.append({collectionTitle, {}});

    QPainter painter(device);
    // Millimetres to the device's units; fonts are sized in points, which
    // the device knows.
    const QTransform mm = QTransform::fromScale(mmX, mmY);
    const double columnWidth = (pageWidth - 2 * Margin) / Columns;
    for (int p = 0; p < pages.size(); ++p) {
        if (p > 0)
            device->newPage();
        QFont title(QStringLiteral("DejaVu Sans"));
        title.setPointSizeF(13);
        title.setBold(true);
        painter.setFont(title);
        painter.setPen(Qt::black);
        painter.drawText(mm.mapRect(QRectF(Margin, Margin, pageWidth - 2 * Margin, HeaderHeight)),
                         Qt::AlignLeft | Qt::AlignTop, pages.at(p).title);
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPointSizeF(8);
        painter.setFont(small);
        painter.drawText(mm.mapRect(QRectF(Margin, pageHeight - Margin, pageWidth - 2 * Margin, 6)),
                         Qt::AlignRight | Qt::AlignTop,
                         QCoreApplication::translate("SwatchSheet", "sheet %1 of %2").arg(p + 1).arg(pages.size()));
        if (!m_vision.isNormal())
            painter.drawText(mm.mapRect(QRectF(Margin, pageHeight - Margin, pageWidth - 2 * Margin, 6)),
                             Qt::AlignLeft | Qt::AlignTop, visionNote(m_vision.vision()));
        const QVector<const PaletteEntry *> &entries = pages.at(p).entries;
        for (int i = 0; i < entries.size(); ++i) {
            const int column = i / rows;
            const int row = i % rows;
            const QRectF box(Margin + column * columnWidth, Margin + HeaderHeight + row * EntryHeight, columnWidth,
                             EntryHeight);
            paintEntry(painter, *entries.at(i), box, mm);
        }
    }
}

void SwatchSheet::paintEntry(QPainter &painter, const PaletteEntry &entry, const QRectF &box,
                             const QTransform &mm) const
{
    const QRectF patch = mm.mapRect(QRectF(box.left(), box.top(), PatchWidth, PatchHeight));
    QStringList lines;
    if (entry.rgb) {
        // The card's sRGB value, as it is: the file's output intent says
        // what it means.
        painter.fillRect(patch, patchColour(m_vision.simulate(*entry.rgb)));
        lines << hexOf(*entry.rgb)
              << QStringLiteral("L* %1  a* %2  b* %3")
                     .arg(PaletteWriter::labNumber(entry.lab.l), PaletteWriter::labNumber(entry.lab.a),
                          PaletteWriter::labNumber(entry.lab.b));
    } else {
        painter.fillRect(patch, QColor(200, 200, 200));
        painter.fillRect(patch, QBrush(QColor(150, 150, 150), Qt::BDiagPattern));
        lines << QCoreApplication::translate("SwatchSheet", "not on this card: no colour known");
    }
    if (entry.page > 0)
        lines << QCoreApplication::translate("SwatchSheet", "page %1, row %2").arg(entry.page).arg(entry.row);
    // A hairline round the patch, outside it: the patch itself stays one
    // colour to its edge.
    painter.setPen(QPen(QColor(120, 120, 120), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(patch.adjusted(-1, -1, 1, 1));

    const double textLeft = box.left() + PatchWidth + TextGap;
    const double textWidth = box.right() - textLeft - 2;
    QFont code(QStringLiteral("DejaVu Sans"));
    code.setPointSizeF(9);
    code.setBold(true);
    painter.setFont(code);
    painter.setPen(Qt::black);
    painter.drawText(mm.mapRect(QRectF(textLeft, box.top(), textWidth, 4.5)), Qt::AlignLeft | Qt::AlignTop, entry.code);
    QFont detail(QStringLiteral("DejaVu Sans"));
    detail.setPointSizeF(7);
    // No ligatures: "#ffc72e" stays six characters for whoever reads the
    // file's text, not "#\ufb00c72e".
    detail.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(detail);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(mm.mapRect(QRectF(textLeft, box.top() + 4.5 + i * 3.2, textWidth, 3.2)),
                         Qt::AlignLeft | Qt::AlignTop, lines.at(i));
}
