// Money and integer parsing for the numeric edit.
#include "DbNumericEdit.h"

#include "Formatter.h"

namespace kvl {

DbNumericEdit::DbNumericEdit(QWidget *parent)
    : DbLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

bool DbNumericEdit::parse(const QString &text, Value *out, QString *error) const
{
    const FieldDef *f = dataLink()->field();
    if (text.trimmed().isEmpty()) {
        *out = Value();
        return true;
    }
    if (f && f->type == ValueType::Integer) {
        qint64 v = 0;
        if (!Formatter::parseInteger(text, &v, error))
            return false;
        *out = Value::integer(v);
        return true;
    }
    qint64 units = 0;
    if (!Formatter::parseMoney(text, &units, error))
        return false;
    if (f && f->type == ValueType::Float)
        *out = Value::real(double(units) / double(kMoneyScale));
    else
        *out = Value::money(units);
    return true;
}

} // namespace kvl
