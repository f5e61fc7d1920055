// The table model of a data grid: the dataset's model with the grid's column
// captions as headers (so assistive technology reads the titles the user sees),
// the grid's row and column colours, and the grid's read-only settings.
#pragma once

#include "DatasetModel.h"

namespace kvl {

class DataGrid;

class DataGridModel : public DatasetModel
{
    Q_OBJECT

public:
    DataGridModel(Dataset *dataset, DataGrid *grid);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    DataGrid *m_grid;
};

} // namespace kvl
