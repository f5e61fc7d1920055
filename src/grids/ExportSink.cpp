// Buffered, failure-checked output for the export writers.
#include "ExportSink.h"

#include "ExportError.h"

#include <QIODevice>

namespace kvl {

ExportSink::ExportSink(QIODevice *device, const QString &fileName)
    : m_device(device), m_fileName(fileName)
{
    m_buffer.reserve(kBufferSize);
}

void ExportSink::writeZeros(qint64 count)
{
    static const QByteArray zeros(4096, '\0');
    while (count > 0) {
        const qint64 n = qMin<qint64>(count, zeros.size());
        write(QByteArrayView(zeros.constData(), n));
        count -= n;
    }
}

void ExportSink::drain()
{
    if (m_buffer.isEmpty())
        return;
    const qint64 n = m_device->write(m_buffer);
    if (n != m_buffer.size()) {
        // A write that stops short without an error is the disk filling up.
        const QString reason = n < 0 ? m_device->errorString() : QStringLiteral("磁盘空间不足。");
        throw ExportError(QStringLiteral("写入文件“%1”失败：%2").arg(m_fileName, reason));
    }
    m_written += n;
    m_buffer.clear();
}

void ExportSink::flush()
{
    drain();
}

} // namespace kvl
