// DatasetModel: the table model over a dataset.
#include "DatasetModel.h"

#include "Dataset.h"
#include "DbError.h"
#include "Formatter.h"

namespace kvl {

DatasetModel::DatasetModel(Dataset *dataset, QObject *parent) : QAbstractTableModel(parent), m_ds(dataset)
{
    rebuildColumns();
    m_rows = m_ds->recordCount();
    connect(m_ds, &Dataset::reset, this, &DatasetModel::resetAll);
    connect(m_ds, &Dataset::valuesChanged, this, [this] {
        if (m_rows > 0 && !m_columns.empty())
            emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1));
    });
    connect(m_ds, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < m_rows && !m_columns.empty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    });
    // The dataset announces a row before it adds or drops it, so views read consistent rows.
    connect(m_ds, &Dataset::rowAboutToBeInserted, this, [this](int row) {
        beginInsertRows(QModelIndex(), row, row);
    });
    connect(m_ds, &Dataset::rowInserted, this, [this](int) {
        m_rows = m_ds->recordCount();
        endInsertRows();
    });
    connect(m_ds, &Dataset::rowAboutToBeRemoved, this, [this](int row) {
        beginRemoveRows(QModelIndex(), row, row);
    });
    connect(m_ds, &Dataset::rowRemoved, this, [this](int) {
        m_rows = m_ds->recordCount();
        endRemoveRows();
    });
}

void DatasetModel::rebuildColumns()
{
    m_columns.clear();
    const auto &fields = m_ds->fields();
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].visible)
            m_columns.push_back(i);
}

void DatasetModel::resetAll()
{
    beginResetModel();
    rebuildColumns();
    m_rows = m_ds->recordCount();
    endResetModel();
}

int DatasetModel::fieldOf(int column) const
{
    return column >= 0 && column < int(m_columns.size()) ? m_columns[size_t(column)] : -1;
}

int DatasetModel::columnOf(const QString &fieldName) const
{
    const int f = m_ds->fieldIndex(fieldName);
    for (size_t c = 0; c < m_columns.size(); ++c)
        if (m_columns[c] == f)
            return int(c);
    return -1;
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    const int f = fieldOf(index.column());
    if (!index.isValid() || f < 0 || index.row() >= m_ds->recordCount())
        return QVariant();
    const FieldDef &fd = m_ds->fields()[f];
    switch (role) {
    case Qt::DisplayRole:
        return m_ds->displayTextAt(index.row(), f);
    case Qt::EditRole: {
        const Value v = m_ds->valueAt(index.row(), f);
        if (v.isNull())
            return QVariant();
        switch (v.type()) {
        case ValueType::Integer: return QVariant(v.toInt());
        case ValueType::Float: return QVariant(v.toDouble());
        case ValueType::Boolean: return QVariant(v.toBool());
        case ValueType::DateTime: return QVariant(v.toDateTime());
        case ValueType::Bytes: return QVariant(v.toBytes());
        default: return QVariant(v.toString()); // money as its exact plain text
        }
    }
    case ValueRole:
        return QVariant::fromValue(m_ds->valueAt(index.row(), f));
    case Qt::TextAlignmentRole:
        return QVariant(int((fd.isNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    default:
        return QVariant();
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        const int f = fieldOf(section);
        if (f < 0)
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_ds->fields()[f].caption();
        if (role == Qt::TextAlignmentRole)
            return QVariant(int(Qt::AlignCenter));
        return QVariant();
    }
    if (role == Qt::DisplayRole && section >= 0 && section < m_rows)
        return section + 1;
    return QVariant();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    const int f = fieldOf(index.column());
    if (!index.isValid() || f < 0)
        return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const FieldDef &fd = m_ds->fields()[f];
    if (!fd.readOnly && !fd.isLookup())
        fl |= Qt::ItemIsEditable;
    return fl;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int f = fieldOf(index.column());
    if (role != Qt::EditRole || f < 0 || index.row() >= m_ds->recordCount())
        return false;
    try {
        m_ds->moveTo(index.row());
        m_ds->edit();
        Value v;
        if (value.canConvert<Value>() && value.userType() == qMetaTypeId<Value>())
            v = value.value<Value>();
        else if (!value.isNull())
            v = Value(value.toString());
        m_ds->setValue(f, v);
        return true;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace kvl
