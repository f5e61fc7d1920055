// The code-table window (商品类别, 商品产地, 计量单位), only ever a picker: the tool bar and
// the grid of the list windows, no title strip and no filter line. The title names the table.
#pragma once

#include "MasterListWindow.h"

#include <optional>

namespace kvl {

class TFMdm_qt : public MasterListWindow
{
    Q_OBJECT
public:
    // `table` is 商品类别, 商品产地 or 计量单位; the title becomes 选择<table>.
    TFMdm_qt(const QString &table, QWidget *parent = nullptr);

    QString table() const { return m_table; }

    // Finishes the pick-mode set-up (no footer, the layout under the title, BSelect, size)
    // and shows the window modally; the result code comes back.
    int ShowCodeTablePicker();

private:
    QString m_table;
};

// The whole pick of a code-table value: the table's picker query positioned on `text` by
// the name, then by 拼音简码; the chosen entry's name, nothing without a choice.
std::optional<QString> PickCodeTable(const QString &table, const QString &text, QWidget *caller);

} // namespace kvl
