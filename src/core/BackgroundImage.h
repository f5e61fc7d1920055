// The main window's background picture: reading a chosen picture file, JPEG coding, and
// keeping the JPEG bytes in PH.JPEG.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace kvl {

class BackgroundImage
{
public:
    // The picture dialog's filter: every format this build of Qt reads, together and one by one.
    static QString dialogFilter();

    // The picture in `file`, or a null image when it cannot be read or decoded.
    static QImage read(const QString &file);
    // JPEG bytes of `image`; empty when it cannot be coded.
    static QByteArray toJpeg(const QImage &image);
    // The picture PH.JPEG holds; null for no bytes or bytes that do not decode.
    static QImage fromJpeg(const QByteArray &bytes);

    // Writes `jpeg` into PH.JPEG through QueAll; false on any error, which it keeps silent.
    static bool store(const QByteArray &jpeg);
};

} // namespace kvl
