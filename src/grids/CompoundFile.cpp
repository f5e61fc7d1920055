// Header, FAT, DIFAT and directory of a one-stream compound file.
#include "CompoundFile.h"

#include "BiffRecord.h"

namespace kvl {

using biff::put16;
using biff::put32;

namespace {

constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr quint32 kHeaderDifatEntries = 109;
constexpr quint32 kIdsPerSector = CompoundFile::kSectorSize / 4;

void putDirectoryEntry(QByteArray &b, const QString &name, quint8 type, quint32 child,
                       quint32 startSector, quint32 size)
{
    const qsizetype start = b.size();
    for (const QChar c : name)
        put16(b, c.unicode());
    b.append(64 - (b.size() - start), '\0');
    put16(b, name.isEmpty() ? 0 : quint16((name.size() + 1) * 2));
    b.append(char(type));
    b.append(char(type == 0 ? 0 : 1)); // black in the red-black tree
    put32(b, kNoStream);               // left sibling
    put32(b, kNoStream);               // right sibling
    put32(b, child);
    b.append(16 + 4 + 8 + 8, '\0');    // class id, state bits, creation and modification times
    put32(b, startSector);
    put32(b, size);
    put32(b, 0);                       // high half of the size, zero in version 3
}

} // namespace

CompoundFile::CompoundFile(const QString &streamName, quint32 streamSize)
    : m_streamName(streamName), m_streamSize(streamSize),
      m_streamSectors((streamSize + kSectorSize - 1) / kSectorSize)
{
    // The FAT covers every sector, its own and the DIFAT's included; grow it until it does.
    for (;;) {
        m_difatSectors = m_fatSectors > kHeaderDifatEntries
                             ? (m_fatSectors - kHeaderDifatEntries + kIdsPerSector - 2) / (kIdsPerSector - 1)
                             : 0;
        const quint32 total = m_streamSectors + m_fatSectors + m_difatSectors + 1;
        const quint32 needed = (total + kIdsPerSector - 1) / kIdsPerSector;
        if (needed <= m_fatSectors)
            break;
        m_fatSectors = needed;
    }
}

QByteArray CompoundFile::header() const
{
    QByteArray h;
    h.reserve(kSectorSize);
    h.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    h.append(16, '\0');       // class id
    put16(h, 0x003E);         // minor version
    put16(h, 0x0003);         // major version 3
    put16(h, 0xFFFE);         // little-endian
    put16(h, 9);              // 2^9 = 512-byte sectors
    put16(h, 6);              // 2^6 = 64-byte mini sectors
    h.append(6, '\0');
    put32(h, 0);              // directory sectors: always 0 in version 3
    put32(h, m_fatSectors);
    put32(h, directorySector());
    put32(h, 0);              // transaction signature
    put32(h, kMiniStreamCutoff);
    put32(h, kEndOfChain);    // no mini FAT
    put32(h, 0);
    put32(h, m_difatSectors ? firstDifatSector() : kEndOfChain);
    put32(h, m_difatSectors);
    for (quint32 i = 0; i < kHeaderDifatEntries; ++i)
        put32(h, i < m_fatSectors ? fatSectorId(i) : kFreeSect);
    return h;
}

QByteArray CompoundFile::trailer() const
{
    QByteArray t;
    const quint32 tail = m_streamSize % kSectorSize;
    if (tail)
        t.append(kSectorSize - tail, '\0');

    for (quint32 s = 0; s < m_fatSectors * kIdsPerSector; ++s) {
        quint32 next = kFreeSect;
        if (s < m_streamSectors)
            next = s + 1 < m_streamSectors ? s + 1 : kEndOfChain;
        else if (s < firstDifatSector())
            next = kFatSect;
        else if (s < directorySector())
            next = kDifSect;
        else if (s == directorySector())
            next = kEndOfChain;
        put32(t, next);
    }

    for (quint32 d = 0; d < m_difatSectors; ++d) {
        for (quint32 k = 0; k < kIdsPerSector - 1; ++k) {
            const quint32 i = kHeaderDifatEntries + d * (kIdsPerSector - 1) + k;
            put32(t, i < m_fatSectors ? fatSectorId(i) : kFreeSect);
        }
        put32(t, d + 1 < m_difatSectors ? firstDifatSector() + d + 1 : kEndOfChain);
    }

    putDirectoryEntry(t, QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    putDirectoryEntry(t, m_streamName, 2, kNoStream, m_streamSize ? 0 : kEndOfChain, m_streamSize);
    putDirectoryEntry(t, QString(), 0, kNoStream, 0, 0);
    putDirectoryEntry(t, QString(), 0, kNoStream, 0, 0);
    return t;
}

} // namespace kvl
