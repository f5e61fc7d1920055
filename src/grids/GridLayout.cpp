// LoadGridLayout and EditGridLayout over table GridColSelect, through QueAll.
#include "GridLayout.h"

#include "DataGrid.h"
#include "Dataset.h"
#include "DatasetFreeze.h"
#include "DbError.h"
#include "DbErrorText.h"
#include "FitColumnWidths.h"
#include "Messages.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "WaitCursor.h"
#include "ZGridColSelect.h"
#include "datakvl.h"

#include <QListWidget>
#include <QPointer>
#include <QRadioButton>

#include <memory>
#include <optional>

namespace kvl {

namespace {

const QString kContext = QStringLiteral("选列");
constexpr qint64 kUserId = 1;

void showError(const DbError &e)
{
    Messages::warning(DbErrorText(e.message(), kContext));
}

} // namespace

namespace {

struct SavedColumn
{
    QString caption;
    Value width;
    Value index;
};

// The rows are applied one after the other as they were written (in ascending
// position), each moving its column; then the grid shows the result at once.
void applySaved(DataGrid &grid, const QList<SavedColumn> &saved)
{
    const int n = grid.gridColumnCount();
    QList<int> order = grid.columnOrder();
    QList<bool> shown(n, false);
    QList<int> widths;
    for (int c = 0; c < n; ++c)
        widths << grid.gridColumn(c).width;
    for (const SavedColumn &row : saved) {
        for (int c = 0; c < n; ++c) {
            if (grid.columnTitle(c) != row.caption)
                continue;
            shown[c] = true;
            widths[c] = !row.width.isNull() && row.width.toInt() > 0 ? int(row.width.toInt()) : 0;
            const int position = !row.index.isNull() && row.index.toInt() >= 0 ? int(row.index.toInt())
                                                                                 : grid.gridColumn(c).defaultPosition;
            order.removeAll(c);
            order.insert(qBound(0, position, int(order.size())), c);
        }
    }
    grid.setColumnLayout(order, shown, widths);
}

// Captions the window did not give come from the dataset's fields, which are
// complete only once it is open.
bool captionsPending(const DataGrid &grid)
{
    if (!grid.dataset() || grid.dataset()->isActive())
        return false;
    for (int c = 0; c < grid.gridColumnCount(); ++c)
        if (grid.gridColumn(c).title.isEmpty())
            return true;
    return false;
}

} // namespace

void LoadGridLayout(const QString &key, DataGrid &grid)
{
    if (!DataModKvl)
        return;
    std::optional<DatasetFreeze> freeze;
    if (grid.dataset())
        freeze.emplace(*grid.dataset());
    grid.setFrozenColumns(0);
    try {
        Dataset &q = DataModKvl->query(
            QStringLiteral("SELECT * from GridColSelect where Fname=:PPP1 AND UserID=:PPP2"));
        q.setParam(QStringLiteral("PPP1"), Value(key));
        q.setParam(QStringLiteral("PPP2"), Value::integer(kUserId));
        q.open();
        QList<SavedColumn> saved;
        for (q.first(); !q.eof(); q.next())
            saved << SavedColumn{q.value(QStringLiteral("TitleCaption")).toString(), q.value(QStringLiteral("ColWidth")),
                                 q.value(QStringLiteral("ColIndex"))};
        q.close();
        if (saved.isEmpty()) {
            grid.restoreDefaultLayout();
            return;
        }
        applySaved(grid, saved);
        // A window loads its layout before it opens its dataset: the rows are
        // matched again against the captions the opened dataset gives.
        if (captionsPending(grid)) {
            QPointer<DataGrid> target(&grid);
            QObject::connect(
                grid.dataset(), &Dataset::opened, &grid,
                [target, saved] {
                    if (target)
                        applySaved(*target, saved);
                },
                Qt::SingleShotConnection);
        }
    } catch (const DbError &e) {
        showError(e);
    }
}

void EditGridLayout(const QString &key, DataGrid &grid)
{
    if (!DataModKvl)
        return;
    std::optional<WaitCursor> wait;
    try {
        // Owned here rather than deleted on close: its choices are read after it closes.
        auto dialog = std::make_unique<TFMGridColSelect>(grid.window());
        const QList<int> order = grid.columnOrder();
        QStringList captions;
        for (int c : order)
            captions << grid.columnTitle(c);
        dialog->setCaptions(captions);

        Dataset &q = DataModKvl->query(QStringLiteral("SELECT * from GridColSelect where Fname=:PPP1"));
        q.setParam(QStringLiteral("PPP1"), Value(key));
        q.open();
        if (q.isEmpty())
            dialog->setAllChecked();
        for (q.first(); !q.eof(); q.next())
            dialog->checkCaption(q.value(QStringLiteral("TitleCaption")).toString());
        q.close();

        if (ModalRunner::exec(*dialog) != mrOk)
            return;

        wait.emplace();
        Dataset &del = DataModKvl->query(
            QStringLiteral("DELETE FROM GridColSelect where Fname=:PPP1 AND UserID=:PPP2"));
        del.setParam(QStringLiteral("PPP1"), Value(key));
        del.setParam(QStringLiteral("PPP2"), Value::integer(kUserId));
        del.execSql();

        const bool defaultWidths = dialog->RadioButton2->isChecked();
        const bool defaultOrder = dialog->RadioButton4->isChecked();
        if (!(dialog->allChecked() && defaultWidths && defaultOrder)) {
            if (dialog->RadioButton5->isChecked())
                FitColumnWidths(grid);
            const bool keepWidths = dialog->RadioButton1->isChecked() || dialog->RadioButton5->isChecked();
            const bool keepOrder = dialog->RadioButton3->isChecked();
            for (int i = 0; i < dialog->itemCount(); ++i) {
                if (!dialog->isChecked(i))
                    continue;
                Dataset &ins = DataModKvl->query(
                    QStringLiteral("INSERT INTO GridColSelect (Fname,UserID,TitleCaption,ColWidth,ColIndex) "
                                   "VALUES (:PPP1,:PPP2,:PPP3,:PPP4,:PPP5)"));
                ins.setParam(QStringLiteral("PPP1"), Value(key));
                ins.setParam(QStringLiteral("PPP2"), Value::integer(kUserId));
                ins.setParam(QStringLiteral("PPP3"), Value(dialog->caption(i)));
                ins.setParam(QStringLiteral("PPP4"),
                             Value::integer(keepWidths && i < order.size() ? grid.columnWidthOf(order[i]) : -1));
                ins.setParam(QStringLiteral("PPP5"), Value::integer(keepOrder ? i : -1));
                ins.execSql();
            }
        }
        LoadGridLayout(key, grid);
    } catch (const DbError &e) {
        wait.reset();
        showError(e);
    }
}

} // namespace kvl
