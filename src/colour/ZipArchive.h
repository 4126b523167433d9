// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// One file out of a zip archive held in memory (SwatchBooker and Krita
// palettes are zip archives): found through the central directory, stored
// or deflated, inflated with zlib to at most a given size. Any damage gives
// an error, never a read past the bytes given.
class ZipArchive
{
public:
    explicit ZipArchive(const QByteArray &bytes);

    // The contents of the member named name; empty with error() set when
    // it is missing, damaged or larger than limit once inflated.
    QByteArray file(const QString &name, qint64 limit);
    QString error() const { return m_error; }

private:
    QByteArray m_bytes;
    QString m_error;
};
