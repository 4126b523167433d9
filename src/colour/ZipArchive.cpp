// SPDX-License-Identifier: MIT
#include "colour/ZipArchive.h"

#include <QtEndian>

#include <zlib.h>

namespace {

quint16 u16(const char *at)
{
    return qFromLittleEndian<quint16>(at);
}

quint32 u32(const char *at)
{
    return qFromLittleEndian<quint32>(at);
}

} // namespace

ZipArchive::ZipArchive(const QByteArray &bytes) : m_bytes(bytes) {}

QByteArray ZipArchive::file(const QString &name, qint64 limit)
{
    if (const auto found = m_members.constFind(name); found != m_members.constEnd())
        return *found;
    QByteArray member = unpack(name, limit);
    if (!member.isEmpty())
        m_members.insert(name, member);
    return member;
}

ZipArchive::Member ZipArchive::member(const QString &name) const
{
    Member found;
    const char *data = m_bytes.constData();
    const qint64 size = m_bytes.size();
    // The end of central directory record: 22 bytes and a comment of up to
    // 65,535, found from the end.
    qint64 end = -1;
    for (qint64 at = size - 22; at >= 0 && at >= size - 22 - 65535; --at) {
        if (u32(data + at) == 0x06054b50) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return found;
    found.archive = true;
    const quint16 count = u16(data + end + 10);
    qint64 at = u32(data + end + 16);
    const QByteArray wanted = name.toUtf8();
    for (int i = 0; i < count; ++i) {
        if (at < 0 || at + 46 > end || u32(data + at) != 0x02014b50)
            break;
        const quint16 nameLength = u16(data + at + 28);
        const quint16 extraLength = u16(data + at + 30);
        const quint16 commentLength = u16(data + at + 32);
        if (at + 46 + nameLength > end)
            break;
        if (QByteArray::fromRawData(data + at + 46, nameLength) == wanted) {
            found.found = true;
            found.method = u16(data + at + 10);
            found.packed = u32(data + at + 20);
            found.unpacked = u32(data + at + 24);
            found.local = u32(data + at + 42);
            return found;
        }
        at += 46 + qint64(nameLength) + extraLength + commentLength;
    }
    return found;
}

bool ZipArchive::has(const QString &name) const
{
    return member(name).found;
}

QByteArray ZipArchive::unpack(const QString &name, qint64 limit)
{
    const char *data = m_bytes.constData();
    const qint64 size = m_bytes.size();
    const Member m = member(name);
    if (!m.archive) {
        m_error = QStringLiteral("it is not a zip archive");
        return {};
    }
    if (!m.found) {
        m_error = QStringLiteral("the archive holds no %1").arg(name);
        return {};
    }
    const quint16 method = m.method;
    const quint32 packed = m.packed;
    const quint32 unpacked = m.unpacked;
    const qint64 local = m.local;
    if (local + 30 > size || u32(data + local) != 0x04034b50) {
        m_error = QStringLiteral("%1 is damaged").arg(name);
        return {};
    }
    const qint64 start = local + 30 + u16(data + local + 26) + u16(data + local + 28);
    if (start + qint64(packed) > size) {
        m_error = QStringLiteral("%1 runs past the end of the archive").arg(name);
        return {};
    }
    if (qint64(unpacked) > limit) {
        m_error = QStringLiteral("%1 is larger than %2 bytes").arg(name).arg(limit);
        return {};
    }
    const qint64 held = method == 0 ? qint64(packed) : qint64(unpacked);
    if (m_inflated + held > totalLimit) {
        m_error = QStringLiteral("its members hold more than %1 MiB together").arg(totalLimit / (1024 * 1024));
        return {};
    }
    m_inflated += held;
    if (method == 0)
        return QByteArray(data + start, packed);
    if (method != 8) {
        m_error = QStringLiteral("%1 is compressed in a way not known (method %2)").arg(name).arg(method);
        return {};
    }
    QByteArray out(qsizetype(unpacked), Qt::Uninitialized);
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        m_error = QStringLiteral("%1 cannot be inflated").arg(name);
        return {};
    }
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data + start));
    stream.avail_in = packed;
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = unpacked;
    // Never more than the size the directory gives: that was checked
    // against the limit.
    const int status = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (status != Z_STREAM_END || stream.total_out != unpacked) {
        m_error = QStringLiteral("%1 is damaged: it does not inflate to its stated size").arg(name);
        return {};
    }
    return out;
}
