// The fixed leading columns of a data grid: a second view over the same model and
// selection laid over the grid's left edge, showing the first shown columns while
// the rest scroll beneath it.
#pragma once

#include <QTableView>

namespace kvl {

class DataGrid;
class DataGridDelegate;

class FrozenColumnsView : public QTableView
{
    Q_OBJECT

public:
    FrozenColumnsView(DataGrid *grid, DataGridDelegate *delegate);

    // Takes the grid's model and selection (again after the grid changed its dataset).
    void attach();
    // Shows the grid's first frozenColumns() shown columns, at their widths and order.
    void syncColumns();
    // Lies over the grid's title and cells, from the row header on.
    void placeOver();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    DataGrid *m_grid;
};

} // namespace kvl
