// The frame of an OLE2 compound file (version 3, 512-byte sectors) holding one
// stream: the header, then the stream in sectors 0, 1, 2 ... in file order, then
// the allocation table (FAT), any DIFAT sectors and the directory. The stream
// itself is written by the caller between header() and trailer().
#pragma once

#include <QByteArray>
#include <QString>

namespace kvl {

class CompoundFile
{
public:
    static constexpr quint32 kSectorSize = 512;
    // Streams shorter than this belong in the mini stream; callers pad up to it.
    static constexpr quint32 kMiniStreamCutoff = 4096;

    CompoundFile(const QString &streamName, quint32 streamSize);

    QByteArray header() const;
    // The zero padding of the stream's last sector, FAT, DIFAT and directory sectors.
    QByteArray trailer() const;

    quint32 fatSectorCount() const { return m_fatSectors; }
    quint32 difatSectorCount() const { return m_difatSectors; }

private:
    quint32 fatSectorId(quint32 i) const { return m_streamSectors + i; }
    quint32 firstDifatSector() const { return m_streamSectors + m_fatSectors; }
    quint32 directorySector() const { return m_streamSectors + m_fatSectors + m_difatSectors; }

    QString m_streamName;
    quint32 m_streamSize;
    quint32 m_streamSectors;
    quint32 m_fatSectors = 1;
    quint32 m_difatSectors = 0;
};

} // namespace kvl
