// QPainter output of prepared pages. Lines were broken at layout time, so every
// device shows the same line breaks whatever its resolution.
#include "ReportPainter.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace kvl::ReportPainter {

QFont font(const QString &family, double pointSize, bool bold, bool italic)
{
    QString f = family;
    if (f.isEmpty() || f == QLatin1String("sans"))
        f = QStringLiteral("Noto Sans CJK SC");
    else if (f == QLatin1String("serif"))
        f = QStringLiteral("Noto Serif CJK SC");
    QFont font(f);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    // Unhinted outlines keep widths proportional across resolutions.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

void paintPage(QPainter &painter, const ReportPage &page, double pxPerMm, const QPointF &offsetMm,
               const QList<int> &highlights)
{
    auto px = [&](const QRectF &r) {
        return QRectF((r.x() + offsetMm.x()) * pxPerMm, (r.y() + offsetMm.y()) * pxPerMm, r.width() * pxPerMm,
                      r.height() * pxPerMm);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    for (int i : highlights) {
        if (i >= 0 && i < page.texts.size())
            painter.fillRect(px(page.texts[i].rect), QColor(255, 230, 0, 150));
    }

    // Point sizes are relative to the device's resolution; the pixel scale of the
    // caller may differ (a zoomed preview), so text is drawn in a scaled system.
    const double devicePxPerMm = painter.device()->logicalDpiY() / 25.4;
    const double fontScale = pxPerMm / devicePxPerMm;
    painter.setPen(Qt::black);
    for (const ReportTextItem &t : page.texts) {
        if (t.lines.isEmpty())
            continue;
        const QRectF box = px(t.rect);
        painter.save();
        painter.setClipRect(box.adjusted(-0.5, -0.5, 0.5, 0.5));
        painter.translate(box.topLeft());
        painter.scale(fontScale, fontScale);
        painter.setFont(font(t.family, t.pointSize, t.bold, t.italic));
        const double w = box.width() / fontScale, h = box.height() / fontScale;
        const double lh = t.lineHeight * pxPerMm / fontScale;
        const double total = lh * t.lines.size();
        double y = 0;
        if (t.alignment & Qt::AlignVCenter)
            y = (h - total) / 2;
        else if (t.alignment & Qt::AlignBottom)
            y = h - total;
        const Qt::Alignment horizontal = t.alignment & Qt::AlignHorizontal_Mask;
        for (const QString &line : t.lines) {
            painter.drawText(QRectF(0, y, w, lh), int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), line);
            y += lh;
        }
        painter.restore();
    }

    for (const ReportLineItem &l : page.lines) {
        QPen pen(Qt::black);
        pen.setWidthF(std::max(l.width * pxPerMm, 1.0));
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        const QLineF line((l.line.p1() + offsetMm) * pxPerMm, (l.line.p2() + offsetMm) * pxPerMm);
        painter.drawLine(line);
    }
    painter.restore();
}

bool paintDocument(QPagedPaintDevice &device, const ReportDocument &doc, const QPointF &offsetMm, int fromPage, int toPage)
{
    if (toPage < 0 || toPage >= doc.pages.size())
        toPage = int(doc.pages.size()) - 1;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double pxPerMm = device.logicalDpiX() / 25.4;
    // The device's page rectangle may start inside the paper on printers with margins;
    // templates measure from the paper's corner.
    const QRectF paper = device.pageLayout().fullRectPixels(device.logicalDpiX());
    const QRectF paintable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QPointF shift = (paper.topLeft() - paintable.topLeft()) / pxPerMm;
    for (int p = std::max(0, fromPage); p <= toPage; ++p) {
        if (p > std::max(0, fromPage))
            device.newPage();
        paintPage(painter, doc.pages[p], pxPerMm, offsetMm + shift);
    }
    painter.end();
    return true;
}

} // namespace kvl::ReportPainter
