// The one picker the program has set, if any.
#include "CodeTablePicker.h"

namespace kvl {

namespace {
CodeTablePicker &picker()
{
    static CodeTablePicker p;
    return p;
}
} // namespace

void SetCodeTablePicker(CodeTablePicker p)
{
    picker() = std::move(p);
}

bool HasCodeTablePicker()
{
    return bool(picker());
}

std::optional<QString> PickCodeTableValue(const QString &table, const QString &text, QWidget *caller)
{
    if (!picker())
        return std::nullopt;
    // A copy, so a picker that sets another picker while it runs does not pull the rug.
    const CodeTablePicker p = picker();
    return p(table, text, caller);
}

} // namespace kvl
