// Cell drawing and editing of a data grid: the ellipsis button of chosen
// columns in the current row, and a line editor whose text the dataset's field
// must accept before it leaves the cell.
#pragma once

#include <QStyledItemDelegate>

namespace kvl {

class DataGrid;

class DataGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit DataGridDelegate(DataGrid *grid);

    // Where the ellipsis button of a cell is drawn, in viewport coordinates.
    static QRect buttonRect(const QRect &cell);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // Converts the editor's text to the field's type; false with the reason when it does not fit.
    bool check(QWidget *editor, QString *error) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:

    DataGrid *m_grid;
};

} // namespace kvl
