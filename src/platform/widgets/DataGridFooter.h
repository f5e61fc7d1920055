// The footer rows painted below a data grid's cells, one cell under each shown
// column, moving with horizontal scrolling and column resizing.
#pragma once

#include <QWidget>

namespace kvl {

class DataGrid;

class DataGridFooter : public QWidget
{
    Q_OBJECT

public:
    explicit DataGridFooter(DataGrid *grid);

    int rowHeight() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DataGrid *m_grid;
};

} // namespace kvl
