// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// One file out of a zip archive held in memory (SwatchBooker and Krita
// palettes are zip archives): found through the central directory, stored
// or deflated, inflated with zlib to at most a given size. Each member is
// inflated once however often it is asked for, and all the members of one
// archive together to at most totalLimit, as much as a plain file may
// hold: an archive that names one large member many times, or many, is
// refused rather than inflated again and again. Any damage gives an error,
// never a read past the bytes given.
class ZipArchive
{
public:
    explicit ZipArchive(const QByteArray &bytes);

    // The contents of the member named name; empty with error() set when
    // it is missing, damaged or larger than limit once inflated.
    QByteArray file(const QString &name, qint64 limit);
    QString error() const { return m_error; }
    // Whether the archive lists a member of that name; nothing is inflated.
    bool has(const QString &name) const;
    // The bytes inflated so far, each member counted once.
    qint64 inflatedBytes() const { return m_inflated; }

    static constexpr qint64 totalLimit = 64 * 1024 * 1024;

private:
    // A member's entry in the central directory.
    struct Member
    {
        bool archive = false;  // the end of the central directory was found
        bool found = false;
        quint16 method = 0;
        quint32 packed = 0;
        quint32 unpacked = 0;
        qint64 local = 0;
    };

    Member member(const QString &name) const;
    QByteArray unpack(const QString &name, qint64 limit);

    QByteArray m_bytes;
    QString m_error;
    QHash<QString, QByteArray> m_members;
    qint64 m_inflated = 0;
};
