#include "platform/IconFile.h"

#include <QByteArray>
#include <QtEndian>

namespace {

constexpr int DirectoryHeaderSize = 6;
constexpr int DirectoryEntrySize = 16;
constexpr int BitmapHeaderSize = 40;

quint16 word(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 dword(const QByteArray &data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}

// Bytes per row of a bitmap: rows are padded to whole 32-bit words.
qsizetype rowBytes(int width, int bitsPerPixel)
{
    return (qsizetype(width) * bitsPerPixel + 31) / 32 * 4;
}

// One entry's bitmap at data[offset, offset + size): colours bottom-up, then
// the 1-bit mask in which a set bit makes the pixel transparent.
QImage readBitmap(const QByteArray &data, qsizetype offset, qsizetype size)
{
    if (offset < 0 || size < BitmapHeaderSize || offset > data.size() - size)
        return {};
    const qsizetype end = offset + size;
    const qsizetype headerSize = dword(data, offset);
    const qint32 width = qint32(dword(data, offset + 4));
    const qint32 doubledHeight = qint32(dword(data, offset + 8));
    const int bits = word(data, offset + 14);
    const quint32 compression = dword(data, offset + 16);
    const quint32 coloursUsed = dword(data, offset + 32);
    if (headerSize < BitmapHeaderSize || headerSize > size || compression != 0 || width <= 0
        || width > 256 || doubledHeight <= 0 || doubledHeight % 2 != 0 || doubledHeight > 512)
        return {};
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return {};
    const int height = doubledHeight / 2;

    qsizetype at = offset + headerSize;
    QList<QRgb> palette;
    if (bits <= 8) {
        const quint32 colours = coloursUsed ? coloursUsed : (1u << bits);
        if (colours > (1u << bits) || at + qsizetype(colours) * 4 > end)
            return {};
        for (quint32 i = 0; i < colours; ++i, at += 4) {
            const auto *bgr = reinterpret_cast<const uchar *>(data.constData() + at);
            palette.append(qRgb(bgr[2], bgr[1], bgr[0]));
        }
    }
    const qsizetype colourRow = rowBytes(width, bits);
    const qsizetype maskRow = rowBytes(width, 1);
    const qsizetype colourStart = at;
    const qsizetype maskStart = colourStart + colourRow * height;
    if (maskStart + maskRow * height > end)
        return {};

    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uchar *colours = bytes + colourStart + colourRow * (height - 1 - y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb pixel;
            if (bits == 32) {
                const uchar *p = colours + 4 * x;
                pixel = qRgba(p[2], p[1], p[0], p[3]);
                anyAlpha = anyAlpha || p[3] != 0;
            } else if (bits == 24) {
                const uchar *p = colours + 3 * x;
                pixel = qRgb(p[2], p[1], p[0]);
            } else {
                const int perByte = 8 / bits;
                const int shift = 8 - bits * (x % perByte + 1);
                const int index = (colours[x / perByte] >> shift) & ((1 << bits) - 1);
                if (index >= palette.size())
                    return {};
                pixel = palette.at(index);
            }
            line[x] = pixel;
        }
    }
    // The mask decides transparency, except where 32-bit colours carry an
    // alpha channel of their own.
    if (!anyAlpha) {
        for (int y = 0; y < height; ++y) {
            const uchar *mask = bytes + maskStart + maskRow * (height - 1 - y);
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                if (mask[x / 8] & (0x80 >> (x % 8)))
                    line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), 0);
            }
        }
    }
    return image;
}

} // namespace

QList<QImage> IconFile::read(const QByteArray &data)
{
    if (data.size() < DirectoryHeaderSize || word(data, 0) != 0 || word(data, 2) != 1)
        return {};
    const int count = word(data, 4);
    if (count == 0 || data.size() < DirectoryHeaderSize + qsizetype(count) * DirectoryEntrySize)
        return {};
    QList<QImage> images;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = DirectoryHeaderSize + qsizetype(i) * DirectoryEntrySize;
        const QImage image = readBitmap(data, dword(data, entry + 12), dword(data, entry + 8));
        if (image.isNull())
            return {};
        images.append(image);
    }
    return images;
}
