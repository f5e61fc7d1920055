// Buffered output of an export writer. A failed write throws ExportError at once,
// so a full disk stops the export instead of writing on into nothing.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace kvl {

class ExportSink
{
public:
    // fileName is the name the user chose; it only appears in error messages.
    ExportSink(QIODevice *device, const QString &fileName);
    ExportSink(const ExportSink &) = delete;
    ExportSink &operator=(const ExportSink &) = delete;

    void write(QByteArrayView bytes)
    {
        if (m_buffer.size() + bytes.size() > kBufferSize)
            drain();
        m_buffer.append(bytes);
    }
    void writeZeros(qint64 count);
    // Hands everything buffered to the device; writers call it when they are done.
    void flush();
    // Bytes written so far, buffered ones included.
    qint64 position() const { return m_written + m_buffer.size(); }
    const QString &fileName() const { return m_fileName; }

private:
    static constexpr qsizetype kBufferSize = 256 * 1024;
    void drain();

    QIODevice *m_device;
    QString m_fileName;
    QByteArray m_buffer;
    qint64 m_written = 0;
};

} // namespace kvl
