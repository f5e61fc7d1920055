// Tile icons: gradient, light border, the glyph in white with a soft shadow.
#include "GlyphIcon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kvl {

namespace {
QPixmap tile(const QString &glyph, const QColor &color, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(1, 1, size - 2, size - 2);
    QPainterPath path;
    path.addRoundedRect(r, size * 0.2, size * 0.2);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, color.lighter(135));
    g.setColorAt(1, color.darker(120));
    p.fillPath(path, g);
    p.setPen(QPen(QColor(255, 255, 255, 160), size / 32.0));
    p.drawPath(path);
    QFont f;
    f.setPixelSize(int(size * 0.58));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(r.translated(size / 32.0, size / 32.0), Qt::AlignCenter, glyph);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, glyph);
    return pm;
}
} // namespace

QIcon GlyphIcon::make(const QString &glyph, const QColor &color, int size)
{
    QIcon icon;
    icon.addPixmap(tile(glyph, color, size));
    icon.addPixmap(tile(glyph, color, size * 2));
    return icon;
}

} // namespace kvl
