// Icons drawn in code: one tile per item, coloured by its group.
#include "MainWindowIcons.h"

#include "GlyphIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace kvl {

QIcon MainWindowIcons::sideBarItem(int tag)
{
    struct Tile
    {
        int tag;
        const char *glyph;
        QColor color;
    };
    const QColor business(36, 110, 196), master(34, 146, 96), system(150, 82, 170);
    static const Tile tiles[] = {
        {0, "业", business}, {1, "欠", business}, {2, "货", business},
        {10, "客", master},  {11, "商", master},  {12, "员", master},
        {21, "库", system},  {22, "图", system},  {87, "?", system}, {88, "退", QColor(196, 60, 48)},
    };
    for (const Tile &t : tiles) {
        if (t.tag == tag)
            return GlyphIcon::make(QString::fromUtf8(t.glyph), t.color, 32);
    }
    return {};
}

QPixmap MainWindowIcons::webLink()
{
    const int size = 16;
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF globe(1.5, 1.5, size - 3, size - 3);
    QRadialGradient sea(globe.center() - QPointF(2, 2), size * 0.6);
    sea.setColorAt(0, QColor(120, 190, 255));
    sea.setColorAt(1, QColor(20, 90, 180));
    p.setBrush(sea);
    p.setPen(QPen(QColor(16, 60, 130), 1));
    p.drawEllipse(globe);
    // Meridians and the equator.
    p.setPen(QPen(QColor(255, 255, 255, 200), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(globe.center().x() - 3, globe.top(), 6, globe.height()));
    p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
    p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
    return pm;
}

} // namespace kvl
