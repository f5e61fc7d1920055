// Streaming zlib encoding and the guarded decoding of backup files.
#include "BackupCodec.h"

#include "MaintenanceError.h"

#include <QtEndian>

#include <zlib.h>

#include <memory>
#include <vector>

namespace kvl {

namespace {

constexpr qint64 kChunk = 256 * 1024;
// Deflate cannot expand better than 258 bytes per two bits; a length field that
// promises more than that from the bytes at hand is a lie we need not inflate.
constexpr qint64 kMaxInflateRatio = 1032;

[[noreturn]] void refuse(const QString &detail)
{
    throw MaintenanceError(QString(), detail);
}

void writeAll(QIODevice &out, const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 n = out.write(data, size);
        if (n <= 0)
            refuse(QStringLiteral("不能写入：%1").arg(out.errorString()));
        data += n;
        size -= n;
    }
}

struct DeflateEnd { void operator()(z_stream *z) const { deflateEnd(z); } };
struct InflateEnd { void operator()(z_stream *z) const { inflateEnd(z); } };

} // namespace

void BackupCodec::encode(QIODevice &data, qint64 size, QIODevice &out)
{
    if (size <= 0 || size > kMaxDataSize)
        refuse(QStringLiteral("数据文件的大小 %1 不能备份").arg(size));
    uchar header[kHeaderSize];
    qToLittleEndian<qint32>(qint32(size), header);
    writeAll(out, reinterpret_cast<const char *>(header), kHeaderSize);

    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        refuse(QStringLiteral("不能初始化压缩"));
    std::unique_ptr<z_stream, DeflateEnd> guard(&z);

    std::vector<char> in(kChunk), buf(kChunk);
    qint64 remaining = size;
    int rc = Z_OK;
    do {
        const qint64 want = std::min(remaining, kChunk);
        const qint64 got = want > 0 ? data.read(in.data(), want) : 0;
        if (got < 0 || (got == 0 && want > 0))
            refuse(QStringLiteral("数据文件读到 %1 字节就结束了，应有 %2 字节").arg(size - remaining).arg(size));
        remaining -= got;
        z.next_in = reinterpret_cast<Bytef *>(in.data());
        z.avail_in = uInt(got);
        const int flush = remaining == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = reinterpret_cast<Bytef *>(buf.data());
            z.avail_out = uInt(buf.size());
            rc = deflate(&z, flush);
            if (rc == Z_STREAM_ERROR)
                refuse(QStringLiteral("压缩失败"));
            writeAll(out, buf.data(), qint64(buf.size()) - z.avail_out);
        } while (z.avail_out == 0);
    } while (rc != Z_STREAM_END);
    // The file must not have grown while it was read.
    char extra;
    if (data.read(&extra, 1) > 0)
        refuse(QStringLiteral("数据文件在备份时变大了"));
}

qint64 BackupCodec::decode(QIODevice &backup, QIODevice &out)
{
    uchar header[kHeaderSize];
    if (backup.read(reinterpret_cast<char *>(header), kHeaderSize) != kHeaderSize)
        refuse(QStringLiteral("备份文件不足四个字节"));
    const qint64 length = qFromLittleEndian<qint32>(header);
    if (length <= 0)
        refuse(QStringLiteral("备份文件的长度字段为 %1").arg(length));
    if (!backup.isSequential()) {
        const qint64 packed = backup.size() - kHeaderSize;
        if (length > packed * kMaxInflateRatio + 258)
            refuse(QStringLiteral("备份文件声称 %1 字节，但只有 %2 字节压缩数据").arg(length).arg(packed));
    }

    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        refuse(QStringLiteral("不能初始化解压"));
    std::unique_ptr<z_stream, InflateEnd> guard(&z);

    std::vector<char> in(kChunk), buf(kChunk);
    qint64 produced = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        const qint64 got = backup.read(in.data(), kChunk);
        if (got < 0)
            refuse(QStringLiteral("不能读备份文件：%1").arg(backup.errorString()));
        if (got == 0)
            refuse(QStringLiteral("备份文件在第 %1 字节处被截断").arg(produced));
        z.next_in = reinterpret_cast<Bytef *>(in.data());
        z.avail_in = uInt(got);
        // inflate() stops when the input is used up or the output chunk is full.
        do {
            z.next_out = reinterpret_cast<Bytef *>(buf.data());
            z.avail_out = uInt(buf.size());
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_NEED_DICT || rc == Z_DATA_ERROR || rc == Z_MEM_ERROR || rc == Z_STREAM_ERROR)
                refuse(QStringLiteral("备份文件不是有效的压缩数据：%1").arg(QString::fromLatin1(z.msg ? z.msg : "")));
            const qint64 n = qint64(buf.size()) - z.avail_out;
            produced += n;
            if (produced > length)
                refuse(QStringLiteral("压缩数据超过了长度字段的 %1 字节").arg(length));
            writeAll(out, buf.data(), n);
        } while (z.avail_out == 0 && rc != Z_STREAM_END);
    }
    if (produced != length)
        refuse(QStringLiteral("压缩数据只有 %1 字节，长度字段为 %2").arg(produced).arg(length));
    return length;
}

} // namespace kvl
