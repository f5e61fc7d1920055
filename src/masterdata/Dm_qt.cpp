// The code-table picker and the pick routine the goods dialog reaches through its hook.
#include "Dm_qt.h"

#include "DataGrid.h"
#include "Dataset.h"
#include "ModalRunner.h"
#include "WaitCursor.h"

#include <QGuiApplication>

namespace kvl {

TFMdm_qt::TFMdm_qt(const QString &table, QWidget *parent)
    : MasterListWindow(ListWindowKind::codeTable(table), parent), m_table(table)
{
}

int TFMdm_qt::ShowCodeTablePicker()
{
    setUpPickMode();
    FormActivate();
    return ModalRunner::exec(*this);
}

std::optional<QString> PickCodeTable(const QString &table, const QString &text, QWidget *caller)
{
    std::optional<WaitCursor> wait(std::in_place);
    TFMdm_qt w(table, caller);
    w.openPickQuery(text, true);
    wait.reset();
    w.ShowCodeTablePicker();
    const Dataset *ds = w.dataset();
    if (!w.chosen() || !ds || !ds->isActive() || ds->isEmpty())
        return std::nullopt;
    return ds->value(table).toString();
}

} // namespace kvl
