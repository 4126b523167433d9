// SPDX-License-Identifier: MIT
#include "colour/PaletteFile.h"

#include "colour/ReportText.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What is at path when it is not a regular file, and that only files are
// read or written.
QString notAFile(const QString &path, mode_t mode, bool reading)
{
    if (S_ISDIR(mode))
        return reading ? QStringLiteral("%1 is a folder, not a palette file.").arg(path)
                       : QStringLiteral("%1 is a folder: give the name of a file.").arg(path);
    return reading ? QStringLiteral("%1 is not a regular file (a pipe or a device): only files are read.").arg(path)
                   : QStringLiteral("%1 is not a regular file (a pipe or a device): only a file is written over, "
                                    "and it is left as it is.").arg(path);
}

} // namespace

PaletteFile::Result PaletteFile::read(const QString &path)
{
    Result result;
    // Opened without waiting: a FIFO with no writer would block an
    // ordinary open.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.error = QStringLiteral("%1 cannot be read: %2").arg(ReportText::cut(path), QString::fromLocal8Bit(std::strerror(errno)));
        return result;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result.error = notAFile(ReportText::cut(path), info.st_mode, true);
        return result;
    }
    if (info.st_size > maxSize) {
        ::close(fd);
        result.error = QStringLiteral("%1 is larger than %2 MiB: no palette is that large.")
                           .arg(ReportText::cut(path)).arg(maxSize / (1024 * 1024));
        return result;
    }
    // One byte more than the limit is asked for, so that a file that grew
    // since is caught too.
    result.bytes.resize(qsizetype(info.st_size) + 1);
    qint64 have = 0;
    for (;;) {
        if (have == result.bytes.size()) {
            if (have > maxSize) {
                ::close(fd);
                result.bytes.clear();
                result.error = QStringLiteral("%1 is larger than %2 MiB: no palette is that large.")
                                   .arg(ReportText::cut(path)).arg(maxSize / (1024 * 1024));
                return result;
            }
            result.bytes.resize(std::min<qint64>(have * 2 + 4096, maxSize + 1));
        }
        const ssize_t n = ::read(fd, result.bytes.data() + have, size_t(result.bytes.size() - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            result.bytes.clear();
            result.error = QStringLiteral("%1 cannot be read: %2").arg(ReportText::cut(path), QString::fromLocal8Bit(std::strerror(errno)));
            return result;
        }
        if (n == 0)
            break;
        have += n;
    }
    ::close(fd);
    result.bytes.truncate(qsizetype(have));
    return result;
}

QString PaletteFile::refusedTarget(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};  // nothing there, or nothing reachable: the write says why
    return S_ISREG(info.st_mode) ? QString() : notAFile(path, info.st_mode, false);
}
