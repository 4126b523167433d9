// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// Palette files written out byte by byte, to feed the readers what other
// programs write and what a damaged file holds.
namespace PaletteBytes {

QByteArray be16(quint16 v);
QByteArray be32(quint32 v);
QByteArray beFloat(float f);
// UTF-16 big-endian units with a closing zero, as ASE and ACO name a colour.
QByteArray utf16Name(const QString &name);
// One Adobe swatch exchange colour block.
QByteArray aseColour(const QString &name, const QByteArray &model, const QVector<float> &values);
// An ASE file announcing blockCount blocks, whatever blocks holds.
QByteArray aseFile(quint32 blockCount, const QByteArray &blocks);
// An ASE file of these blocks, the count true.
QByteArray aseFile(const QList<QByteArray> &blocks);

} // namespace PaletteBytes
