// DataGridModel: captions, colours and editability as the grid defines them.
#include "DataGridModel.h"

#include "DataGrid.h"

#include <QBrush>

namespace kvl {

DataGridModel::DataGridModel(Dataset *dataset, DataGrid *grid) : DatasetModel(dataset, grid), m_grid(grid) {}

QVariant DataGridModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
        if (!index.isValid())
            return QVariant();
        QColor c;
        if (const RowColourHook &hook = m_grid->rowColourHook()) {
            const RowColours rc = hook(index.row());
            c = role == Qt::BackgroundRole ? rc.background : rc.text;
        }
        if (!c.isValid() && role == Qt::ForegroundRole) {
            const int gc = m_grid->gridColumnOfSection(index.column());
            if (gc >= 0)
                c = m_grid->gridColumn(gc).textColour;
        }
        return c.isValid() ? QVariant(QBrush(c)) : QVariant();
    }
    return DatasetModel::data(index, role);
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
            const int gc = m_grid->gridColumnOfSection(section);
            if (gc >= 0)
                return m_grid->columnTitle(gc);
        }
        return DatasetModel::headerData(section, orientation, role);
    }
    // The row header is the current-row indicator; numbers would make it wide on long lists.
    if (role == Qt::DisplayRole)
        return QVariant();
    return DatasetModel::headerData(section, orientation, role);
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = DatasetModel::flags(index);
    const int gc = m_grid->gridColumnOfSection(index.column());
    if (m_grid->isReadOnly() || gc < 0 || m_grid->gridColumn(gc).readOnly)
        f &= ~Qt::ItemIsEditable;
    return f;
}

} // namespace kvl
