// DataGridFooter: paints the footer texts the grid computes.
#include "DataGridFooter.h"

#include "DataGrid.h"

#include <QHeaderView>
#include <QPainter>

namespace kvl {

DataGridFooter::DataGridFooter(DataGrid *grid) : QWidget(grid), m_grid(grid)
{
    setObjectName(QStringLiteral("Footer"));
    setAutoFillBackground(false);
}

int DataGridFooter::rowHeight() const
{
    return m_grid->verticalHeader()->defaultSectionSize();
}

void DataGridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setFont(m_grid->font());
    const QColor background = m_grid->footerColour();
    p.fillRect(rect(), background);
    const QHeaderView *header = m_grid->horizontalHeader();
    const int left = m_grid->viewport()->geometry().left() - geometry().left();
    const QColor gridLine = palette().color(QPalette::Mid);
    const int h = rowHeight();
    const QList<int> frozen = m_grid->frozenSections();
    auto paintCell = [&](int row, int section, int x) {
        const int top = row * h;
        const int w = header->sectionSize(section);
        if (x + w < left || x > width())
            return;
        const QRect cell(x, top, w, h);
        p.fillRect(cell, background);
        p.setPen(gridLine);
        p.drawLine(cell.topRight(), cell.bottomRight());
        const int column = m_grid->gridColumnOfSection(section);
        const QString text = column >= 0 ? m_grid->footerText(row, column) : QString();
        if (text.isEmpty())
            return;
        const Qt::Alignment align = m_grid->isNumericColumn(column) ? Qt::AlignRight : Qt::AlignLeft;
        p.setPen(palette().color(QPalette::ToolTipText));
        p.setClipRect(QRect(qMax(cell.left(), left), top, w, h));
        p.drawText(cell.adjusted(3, 0, -3, 0), align | Qt::AlignVCenter, text);
        p.setClipping(false);
    };
    for (int row = 0; row < m_grid->footerRowCount(); ++row) {
        // The scrolling columns first, then the fixed leading ones over them at their places.
        for (int visual = 0; visual < header->count(); ++visual) {
            const int section = header->logicalIndex(visual);
            if (!header->isSectionHidden(section) && !frozen.contains(section))
                paintCell(row, section, left + header->sectionViewportPosition(section));
        }
        int x = left;
        for (int section : frozen) {
            paintCell(row, section, x);
            x += header->sectionSize(section);
        }
        p.setPen(gridLine);
        p.drawLine(0, row * h, width(), row * h);
    }
}

} // namespace kvl
