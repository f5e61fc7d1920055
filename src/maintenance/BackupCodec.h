// The backup file format: the data file's length as a signed 32-bit little-endian
// number, then the data file as one zlib stream (RFC 1950) at the default level.
#pragma once

#include <QIODevice>

namespace kvl {

class BackupCodec
{
public:
    // The length field is signed 32 bits, so a data file must stay below 2 GiB.
    static constexpr qint64 kMaxDataSize = 0x7fffffff;
    static constexpr int kHeaderSize = 4;

    // Reads exactly `size` bytes from `data` and writes the backup to `out`, in
    // chunks, so neither side is held in memory whole. Throws MaintenanceError.
    static void encode(QIODevice &data, qint64 size, QIODevice &out);

    // Inflates the backup read from `backup` into `out` and returns the length.
    // Refused (MaintenanceError) unless the header gives a length above 0, one
    // zlib stream follows that ends cleanly with its checksum, and it yields
    // exactly that many bytes. Bytes after the end of the stream are ignored.
    // Memory stays at a few chunks whatever the length field claims.
    static qint64 decode(QIODevice &backup, QIODevice &out);
};

} // namespace kvl
