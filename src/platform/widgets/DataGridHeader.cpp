// DataGridHeader: sort-mark arrows and the current-row pointer.
#include "DataGridHeader.h"

#include "DataGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kvl {

DataGridHeader::DataGridHeader(Qt::Orientation orientation, DataGrid *grid)
    : QHeaderView(orientation, grid), m_grid(grid)
{
}

void DataGridHeader::mousePressEvent(QMouseEvent *event)
{
    m_pressModifiers = event->modifiers();
    QHeaderView::mousePressEvent(event);
}

void DataGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    // The base leaves its clip and pen behind; the marks are drawn on a clean state.
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (orientation() == Qt::Horizontal)
        paintSortMark(painter, rect, logicalIndex);
    else
        paintCurrentRow(painter, rect, logicalIndex);
}

void DataGridHeader::paintSortMark(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    const int column = m_grid->gridColumnOfSection(logicalIndex);
    if (column < 0)
        return;
    const QList<DataGrid::SortMark> marks = m_grid->sortMarks();
    int order = -1;
    for (int i = 0; i < marks.size(); ++i)
        if (marks[i].column == column)
            order = i;
    if (order < 0)
        return;
    const bool descending = marks[order].descending;
    // With several marks the arrow sits low and its marking order above it, both
    // in the section's right margin, clear of the centred title.
    const bool numbered = marks.size() > 1;
    const int size = qBound(5, rect.height() / 3, 8);
    const int right = rect.right() - 3;
    const int midY = numbered ? rect.bottom() - size / 2 - 3 : rect.center().y();
    const qreal left = right - size;
    const qreal top = midY - size / 2.0;
    const qreal bottom = midY + size / 2.0;
    QPainterPath arrow;
    if (descending) {
        arrow.moveTo(left, top);
        arrow.lineTo(right, top);
        arrow.lineTo((left + right) / 2, bottom);
    } else {
        arrow.moveTo(left, bottom);
        arrow.lineTo(right, bottom);
        arrow.lineTo((left + right) / 2, top);
    }
    arrow.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(arrow, palette().color(QPalette::ButtonText));
    if (numbered) {
        QFont f = painter->font();
        f.setPixelSize(qMax(8, int(top - rect.top())));
        painter->setFont(f);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(QRectF(left - 4, rect.top(), size + 6, top - rect.top() + 1),
                          Qt::AlignHCenter | Qt::AlignBottom, QString::number(order + 1));
    }
    painter->restore();
}

void DataGridHeader::paintCurrentRow(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (logicalIndex != m_grid->currentIndex().row())
        return;
    const int size = qMin(rect.width(), rect.height()) / 2;
    const QPoint c = rect.center();
    QPainterPath arrow;
    arrow.moveTo(c.x() - size / 2, c.y() - size / 2);
    arrow.lineTo(c.x() + size / 2, c.y());
    arrow.lineTo(c.x() - size / 2, c.y() + size / 2);
    arrow.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(arrow, palette().color(QPalette::ButtonText));
    painter->restore();
}

} // namespace kvl
