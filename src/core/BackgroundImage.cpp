// Picture coding for the background, and the write to the parameter row.
#include "BackgroundImage.h"

#include "DbError.h"
#include "datakvl.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QStringList>

namespace kvl {

QString BackgroundImage::dialogFilter()
{
    QStringList all;
    QStringList each;
    for (const QByteArray &format : QImageReader::supportedImageFormats()) {
        const QString f = QString::fromLatin1(format).toLower();
        // svg is read as a drawing, not a picture; the rest are pictures.
        if (f == QLatin1String("svg") || f == QLatin1String("svgz"))
            continue;
        const QString pattern = QStringLiteral("*.") + f;
        all << pattern;
        each << QStringLiteral("%1 (%2)|%2").arg(f.toUpper(), pattern);
    }
    return QStringLiteral("所有图片 (%1)|%1|").arg(all.join(QLatin1Char(';'))) + each.join(QLatin1Char('|'));
}

QImage BackgroundImage::read(const QString &file)
{
    QImageReader reader(file);
    // The file's contents decide, not its name: pictures are often misnamed.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    return reader.read();
}

QByteArray BackgroundImage::toJpeg(const QImage &image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(90);
    // JPEG has no transparency: lay a transparent picture on white, as it is shown.
    QImage flat = image;
    if (image.hasAlphaChannel()) {
        flat = QImage(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
    }
    if (!writer.write(flat))
        return {};
    return bytes;
}

QImage BackgroundImage::fromJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    QImage image;
    image.loadFromData(bytes, "JPG");
    return image;
}

bool BackgroundImage::store(const QByteArray &jpeg)
{
    if (!DataModKvl || jpeg.isEmpty())
        return false;
    try {
        Dataset &q = DataModKvl->query(QStringLiteral("SELECT * from PH"));
        q.open();
        q.edit();
        q.setValue(QStringLiteral("JPEG"), Value::bytes(jpeg));
        q.post();
        q.close();
        return true;
    } catch (const DbError &) {
        try {
            DataModKvl->QueAll.cancel();
            DataModKvl->QueAll.close();
        } catch (const DbError &) {
        }
        return false;
    }
}

} // namespace kvl
