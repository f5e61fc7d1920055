// Text binding with the field's length limit.
#include "DbEdit.h"

namespace kvl {

DbEdit::DbEdit(QWidget *parent)
    : DbLineEdit(parent)
{
}

bool DbEdit::parse(const QString &text, Value *out, QString *) const
{
    // Texts the program writes are never NULL.
    *out = Value(text);
    return true;
}

void DbEdit::prepareFor(const Value &v)
{
    const FieldDef *f = dataLink()->field();
    const int size = f && f->type == ValueType::Text && f->size > 0 ? f->size : 32767;
    // A value longer than the field (a code made from a long name) is shown whole, so the
    // user sees what the data file will refuse and can shorten it.
    setMaxLength(std::max<int>(size, int(v.isNull() ? 0 : v.toString().size())));
}

} // namespace kvl
