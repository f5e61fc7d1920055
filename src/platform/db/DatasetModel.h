// The views' adapter over a dataset: one column per visible field in order,
// display text as formatted, the value for editing, captions as headers. It
// follows the dataset's notifications and reads the dataset's rows in place.
#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace kvl {

class Dataset;

class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Qt::UserRole + 1 gives the field's kvl::Value.
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit DatasetModel(Dataset *dataset, QObject *parent = nullptr);

    Dataset *dataset() const { return m_ds; }
    // The dataset field shown in a model column, -1 when there is none.
    int fieldOf(int column) const;
    int columnOf(const QString &fieldName) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Moves the dataset to the row, puts it into editing and sets the field.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    void resetAll();
    void rebuildColumns();

    Dataset *m_ds;
    std::vector<int> m_columns; // field numbers of the visible fields
    int m_rows = 0;             // as last announced, so the views always see a consistent count
};

} // namespace kvl
