// Paints prepared report pages with QPainter onto any device: PDF writer, printer, image.
#pragma once

#include "ReportDocument.h"

#include <QFont>
#include <QList>
#include <QPointF>

class QPainter;
class QPagedPaintDevice;

namespace kvl {

namespace ReportPainter {

// The font a text item is laid out and painted with; "sans" and "serif" name the
// Chinese Noto families.
QFont font(const QString &family, double pointSize, bool bold, bool italic);

// Paints one page with its top-left corner at the painter's origin; `pxPerMm` maps
// millimetres to the device. Items listed in `highlights` get a find marker.
void paintPage(QPainter &painter, const ReportPage &page, double pxPerMm, const QPointF &offsetMm = {},
               const QList<int> &highlights = {});

// Writes every page to a paged device (a QPdfWriter or a QPrinter whose page size is
// already set), shifted by the offset in millimetres. False when painting cannot start.
bool paintDocument(QPagedPaintDevice &device, const ReportDocument &doc, const QPointF &offsetMm = {},
                   int fromPage = 0, int toPage = -1);

} // namespace ReportPainter

} // namespace kvl
