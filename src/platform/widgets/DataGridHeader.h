// The headers of a data grid: the column titles with their sort-mark arrows
// (and the marking order when several columns are marked), and the row header
// that points at the current row.
#pragma once

#include <QHeaderView>

namespace kvl {

class DataGrid;

class DataGridHeader : public QHeaderView
{
    Q_OBJECT

public:
    DataGridHeader(Qt::Orientation orientation, DataGrid *grid);

    // The keyboard modifiers of the last press on a title, for the click that follows.
    Qt::KeyboardModifiers pressModifiers() const { return m_pressModifiers; }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void paintSortMark(QPainter *painter, const QRect &rect, int logicalIndex) const;
    void paintCurrentRow(QPainter *painter, const QRect &rect, int logicalIndex) const;

    DataGrid *m_grid;
    Qt::KeyboardModifiers m_pressModifiers;
};

} // namespace kvl
