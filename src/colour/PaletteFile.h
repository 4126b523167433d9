// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// A palette file's bytes, read safely whatever the path names: only a
// regular file is read (a FIFO, a device or a folder is refused at once,
// without waiting for a writer), and none larger than maxSize, so that
// reading holds at most that much.
class PaletteFile
{
public:
    static constexpr qint64 maxSize = 64 * 1024 * 1024;

    struct Result
    {
        QByteArray bytes;
        QString error;  // empty when read
        bool ok() const { return error.isEmpty(); }
    };

    static Result read(const QString &path);

    // Why path may not be written over: empty when nothing is there yet or
    // a regular file is, links followed. A file is written beside its place
    // and moved there, which would put it in place of a FIFO or a device
    // (as root, in place of /dev/null): those are refused and left as they
    // are, as a read refuses them.
    static QString refusedTarget(const QString &path);
};
