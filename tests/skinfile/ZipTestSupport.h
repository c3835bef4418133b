#pragma once
// Helpers for the archive tests: whole-file reads and writes, and a small
// hand-written ZIP writer for inputs our own writer would never make.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <cstdint>

#include <zlib.h>

namespace ziptest {

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline void le16(QByteArray& out, quint32 v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

inline void le32(QByteArray& out, quint32 v)
{
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

inline quint32 crcOf(const QByteArray& bytes)
{
    return quint32(crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
}

struct Entry {
    QByteArray name;
    QByteArray data; // as it lies in the archive
    quint32 crc = 0;
    quint32 size = 0; // uncompressed
    quint16 method = 0;
    quint16 versionNeeded = 10;
    quint16 versionMadeBy = 20;
    quint16 flags = 0;
    quint16 time = 0x5000;
    quint16 date = 0x5865;
    quint32 externalAttributes = 0;
    QByteArray localExtra;
    QByteArray centralExtra;
    QByteArray fileComment;
};

inline Entry stored(const QByteArray& name, const QByteArray& data)
{
    Entry e;
    e.name = name;
    e.data = data;
    e.crc = crcOf(data);
    e.size = quint32(data.size());
    return e;
}

inline QByteArray localHeader(const Entry& e)
{
    QByteArray out;
    le32(out, 0x04034B50);
    le16(out, e.versionNeeded);
    le16(out, e.flags);
    le16(out, e.method);
    le16(out, e.time);
    le16(out, e.date);
    le32(out, e.crc);
    le32(out, quint32(e.data.size()));
    le32(out, e.size);
    le16(out, quint32(e.name.size()));
    le16(out, quint32(e.localExtra.size()));
    return out + e.name + e.localExtra;
}

inline QByteArray centralHeader(const Entry& e, quint32 offset)
{
    QByteArray out;
    le32(out, 0x02014B50);
    le16(out, e.versionMadeBy);
    le16(out, e.versionNeeded);
    le16(out, e.flags);
    le16(out, e.method);
    le16(out, e.time);
    le16(out, e.date);
    le32(out, e.crc);
    le32(out, quint32(e.data.size()));
    le32(out, e.size);
    le16(out, quint32(e.name.size()));
    le16(out, quint32(e.centralExtra.size()));
    le16(out, quint32(e.fileComment.size()));
    le16(out, 0);
    le16(out, 0);
    le32(out, e.externalAttributes);
    le32(out, offset);
    return out + e.name + e.centralExtra + e.fileComment;
}

inline QByteArray endRecord(quint32 count, quint32 directorySize, quint32 directoryOffset,
                            const QByteArray& comment, int commentLengthField = -1)
{
    QByteArray out;
    le32(out, 0x06054B50);
    le16(out, 0);
    le16(out, 0);
    le16(out, count);
    le16(out, count);
    le32(out, directorySize);
    le32(out, directoryOffset);
    le16(out, commentLengthField < 0 ? quint32(comment.size()) : quint32(commentLengthField));
    return out + comment;
}

// A raw Deflate stream that inflates to `mebibytes` MiB of '0' characters,
// cheap to build at any size: after the first flushed MiB, every further MiB
// is the same byte-aligned block (it only refers back to zeros), repeated.
inline QByteArray zeroBomb(int mebibytes, quint32* crc = nullptr)
{
    const QByteArray mebibyte(1 << 20, '0');
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    const auto piece = [&](const QByteArray& input, int flush) {
        QByteArray out(int(deflateBound(&z, uLong(input.size()))) + 64, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
        z.avail_in = uInt(input.size());
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        deflate(&z, flush);
        out.truncate(out.size() - qsizetype(z.avail_out));
        return out;
    };
    const QByteArray first = piece(mebibyte, Z_SYNC_FLUSH);
    const QByteArray repeated = piece(mebibyte, Z_SYNC_FLUSH);
    const QByteArray last = piece({}, Z_FINISH);
    deflateEnd(&z);
    QByteArray out = first;
    for (int i = 1; i < mebibytes; ++i)
        out += repeated;
    out += last;
    if (crc) {
        uLong value = 0;
        for (int i = 0; i < mebibytes; ++i)
            value = crc32(value, reinterpret_cast<const Bytef*>(mebibyte.constData()), uInt(mebibyte.size()));
        *crc = quint32(value);
    }
    return out;
}

// A whole single-part archive, entries in the given order.
inline QByteArray archive(const QList<Entry>& entries, const QByteArray& comment = {})
{
    QByteArray out, directory;
    for (const Entry& e : entries) {
        directory += centralHeader(e, quint32(out.size()));
        out += localHeader(e) + e.data;
    }
    const quint32 at = quint32(out.size());
    return out + directory + endRecord(quint32(entries.size()), quint32(directory.size()), at, comment);
}

} // namespace ziptest
