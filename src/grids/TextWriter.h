// The plain-text export: tab between cells, CR LF between rows and none after the
// last, in the system's 8-bit code page.
#pragma once

#include "ExportWriter.h"

#include <QByteArray>

namespace kvl {

class TextWriter : public ExportWriter
{
public:
    // An empty encoding name means the system's code page.
    explicit TextWriter(const QByteArray &encodingName = {});
    void write(const ExportTable &table, ExportSink &out, const ExportProgress &progress) override;

    // The name of the system's 8-bit code page as QStringEncoder knows it: the
    // locale's character set on Unix (UTF-8 under the C locale), the ANSI code page on Windows.
    static QByteArray systemEncodingName();

private:
    QByteArray m_encodingName;
};

} // namespace kvl
