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
    QHeaderView::paintSection(painter, rect, logicalIndex);
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
    const int size = qMax(6, rect.height() / 3);
    const int right = rect.right() - 4;
    const int midY = rect.center().y();
    QPainterPath arrow;
    if (descending) {
        arrow.moveTo(right - size, midY - size / 2);
        arrow.lineTo(right, midY - size / 2);
        arrow.lineTo(right - size / 2.0, midY + size / 2);
    } else {
        arrow.moveTo(right - size, midY + size / 2);
        arrow.lineTo(right, midY + size / 2);
        arrow.lineTo(right - size / 2.0, midY - size / 2);
    }
    arrow.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(arrow, palette().color(QPalette::ButtonText));
    if (marks.size() > 1) {
        QFont f = painter->font();
        f.setPixelSize(qMax(8, size + 1));
        painter->setFont(f);
        const QRect numberRect(right - size - 2 - 12, rect.top(), 12, rect.height());
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(numberRect, Qt::AlignRight | Qt::AlignVCenter, QString::number(order + 1));
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
