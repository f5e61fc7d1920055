// DataGridDelegate: edits go through the dataset (edit, setValue); a text the
// field cannot take is refused in the cell with the reason, and nothing typed is lost.
#include "DataGridDelegate.h"

#include "DataGrid.h"
#include "Dataset.h"
#include "DatasetModel.h"
#include "DbError.h"
#include "Formatter.h"
#include "Messages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace kvl {

namespace {

const char *const kFieldProperty = "kvlField";

} // namespace

DataGridDelegate::DataGridDelegate(DataGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QRect DataGridDelegate::buttonRect(const QRect &cell)
{
    const int w = qMin(cell.width(), qMax(16, cell.height()));
    return QRect(cell.right() - w + 1, cell.top(), w, cell.height());
}

void DataGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int column = m_grid->gridColumnOfSection(index.column());
    const bool button = column >= 0 && m_grid->gridColumn(column).editButton
                        && index.row() == m_grid->currentIndex().row();
    if (!button) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem textOption = option;
    const QRect r = buttonRect(option.rect);
    textOption.rect.setRight(r.left() - 1);
    QStyledItemDelegate::paint(painter, textOption, index);
    QStyleOptionButton b;
    b.rect = r;
    b.state = QStyle::State_Enabled | QStyle::State_Raised;
    b.text = QStringLiteral("…");
    b.palette = option.palette;
    QStyle *style = m_grid->style();
    style->drawControl(QStyle::CE_PushButton, &b, painter, m_grid);
}

QWidget *DataGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    const auto *model = static_cast<const DatasetModel *>(index.model());
    edit->setProperty(kFieldProperty, model->fieldOf(index.column()));
    const FieldDef &f = model->dataset()->fields()[model->fieldOf(index.column())];
    if (f.type == ValueType::Text && f.size > 0)
        edit->setMaxLength(f.size);
    edit->setAlignment(f.isNumeric() ? Qt::AlignRight : Qt::AlignLeft);
    edit->installEventFilter(const_cast<DataGridDelegate *>(this));
    return edit;
}

void DataGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit)
        return;
    const auto *model = static_cast<const DatasetModel *>(index.model());
    const FieldDef &f = model->dataset()->fields()[model->fieldOf(index.column())];
    // Numbers are edited in their plain form (no separators, every decimal);
    // dates in the form they are shown in, which the parser reads back.
    if (f.isNumeric())
        edit->setText(model->dataset()->valueAt(index.row(), model->fieldOf(index.column())).toString());
    else
        edit->setText(index.data(Qt::DisplayRole).toString());
}

bool DataGridDelegate::check(QWidget *editor, QString *error) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    Dataset *ds = m_grid->dataset();
    const int field = editor->property(kFieldProperty).toInt();
    if (!edit || !ds || field < 0 || field >= ds->fieldCount())
        return true;
    Value converted;
    const QString text = edit->text().trimmed();
    return Formatter::convert(text.isEmpty() ? Value() : Value(edit->text()), ds->fields()[field].type, &converted,
                              error);
}

void DataGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    Dataset *ds = m_grid->dataset();
    const int field = editor->property(kFieldProperty).toInt();
    if (!edit || !ds)
        return;
    const FieldDef &f = ds->fields()[field];
    const QString text = edit->text();
    Value converted;
    QString error;
    if (!Formatter::convert(text.trimmed().isEmpty() ? Value() : Value(text), f.type, &converted, &error)) {
        // Reached when focus leaves the cell: the field keeps its value, the reason is shown.
        Messages::warning(error, m_grid);
        return;
    }
    try {
        if (ds->currentIndex() != index.row())
            ds->moveTo(index.row());
        if (ds->state() == Dataset::State::Browse)
            ds->edit();
        if (ds->value(field) != converted)
            ds->setValue(field, converted);
    } catch (const DbError &e) {
        Messages::warning(e.message(), m_grid);
    }
}

bool DataGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            QString error;
            if (!check(editor, &error)) {
                Messages::warning(error, m_grid);
                editor->setFocus();
                return true;   // the editor stays open with the text as typed
            }
            // The window hears of Enter after the editor has handed its value over (queued too).
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                QMetaObject::invokeMethod(m_grid, &DataGrid::enterPressed, Qt::QueuedConnection);
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace kvl
