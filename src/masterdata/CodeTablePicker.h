// The seam through which the goods dialog opens the code-table picker: the code-table
// window sets the picker here, and the dialog asks it for a 商品类别, 商品产地 or 计量单位
// value. Without a picker set, asking gives no choice.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kvl {

// `table` is the code table's name ("商品类别", "商品产地", "计量单位"), `text` the caller's text
// to position on. The chosen entry's name comes back; nothing when the picker closed without
// a choice (each pick reports its own choice, so nested pickers cannot take one another's).
using CodeTablePicker = std::function<std::optional<QString>(const QString &table, const QString &text, QWidget *caller)>;

void SetCodeTablePicker(CodeTablePicker picker);
bool HasCodeTablePicker();
std::optional<QString> PickCodeTableValue(const QString &table, const QString &text, QWidget *caller);

} // namespace kvl
