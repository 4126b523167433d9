// SPDX-License-Identifier: MIT
#include "PaletteBytes.h"

#include <QtEndian>

#include <cstring>

namespace PaletteBytes {

QByteArray be16(quint16 v)
{
    QByteArray out(2, '\0');
    qToBigEndian(v, out.data());
    return out;
}

QByteArray be32(quint32 v)
{
    QByteArray out(4, '\0');
    qToBigEndian(v, out.data());
    return out;
}

QByteArray beFloat(float f)
{
    quint32 bits;
    std::memcpy(&bits, &f, 4);
    return be32(bits);
}

QByteArray utf16Name(const QString &name)
{
    QByteArray out;
    for (QChar c : name)
        out += be16(c.unicode());
    return out + be16(0);
}

QByteArray aseColour(const QString &name, const QByteArray &model, const QVector<float> &values)
{
    QByteArray body = be16(quint16(name.size() + 1)) + utf16Name(name) + model;
    for (float v : values)
        body += beFloat(v);
    body += be16(2);
    return be16(0x0001) + be32(quint32(body.size())) + body;
}

QByteArray aseFile(quint32 blockCount, const QByteArray &blocks)
{
    return QByteArray("ASEF") + be16(1) + be16(0) + be32(blockCount) + blocks;
}

QByteArray aseFile(const QList<QByteArray> &blocks)
{
    return aseFile(quint32(blocks.size()), blocks.join());
}

} // namespace PaletteBytes
