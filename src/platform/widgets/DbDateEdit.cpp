// Date parsing and the edit form of a date-time.
#include "DbDateEdit.h"

#include "Formatter.h"

namespace kvl {

DbDateEdit::DbDateEdit(QWidget *parent)
    : DbLineEdit(parent)
{
}

bool DbDateEdit::parse(const QString &text, Value *out, QString *error) const
{
    if (text.trimmed().isEmpty()) {
        *out = Value();
        return true;
    }
    qint64 secs = 0;
    if (!Formatter::parseDate(text, &secs, error))
        return false;
    *out = Value::dateTimeSecs(secs);
    return true;
}

QString DbDateEdit::editText(const Value &v) const
{
    if (v.isNull())
        return QString();
    const qint64 secs = v.dateTimeSecs();
    // The time of day stays visible (and editable) only when there is one.
    const bool midnight = ((secs % 86400) + 86400) % 86400 == 0;
    return Formatter::formatDateTime(secs, midnight ? QStringLiteral("yyyy-mm-dd") : QStringLiteral("yyyy-mm-dd hh:nn:ss"));
}

} // namespace kvl
