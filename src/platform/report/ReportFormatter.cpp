// The report's formatting: the dataset formatter's number and date languages, plus what
// printing adds (dates given as day counts, numbers that arrive as text).
#include "ReportFormatter.h"

#include "Formatter.h"

#include <cmath>

namespace kvl::ReportFormatter {

namespace {

const QDateTime &dayZero()
{
    static const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return zero;
}

// The number and date languages are the dataset formatter's, so a printed value reads
// as the grid shows it; money stays exact.
QString formatNumber(const Value &v, const QString &format)
{
    switch (v.type()) {
    case ValueType::Money:
        return Formatter::formatMoney(v.moneyUnits(), format);
    case ValueType::Integer:
    case ValueType::Boolean:
        return Formatter::formatDecimal(v.toInt(), 0, format);
    default:
        return Formatter::formatFloat(v.toDouble(), format);
    }
}

QString formatDate(const QDateTime &dt, const QString &format)
{
    if (!dt.isValid())
        return QString();
    return Formatter::formatDateTime(Value::dateTime(dt).dateTimeSecs(), format);
}

QDateTime asDateTime(const Value &v)
{
    switch (v.type()) {
    case ValueType::Float:
    case ValueType::Integer:
    case ValueType::Money:
        return fromDayCount(v.toDouble());
    default:
        return v.toDateTime();
    }
}

bool looksNumeric(const Value &v)
{
    switch (v.type()) {
    case ValueType::Integer:
    case ValueType::Money:
    case ValueType::Float:
        return true;
    case ValueType::Text: {
        bool ok = false;
        v.toString().trimmed().toDouble(&ok);
        return ok;
    }
    default:
        return false;
    }
}

} // namespace

bool isDateFormat(const QString &format)
{
    for (QChar c : format) {
        const QChar l = c.toLower();
        if (l == QLatin1Char('y') || l == QLatin1Char('d') || l == QLatin1Char('m'))
            return true;
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            return false;
    }
    return false;
}

QDateTime fromDayCount(double days)
{
    const qint64 secs = qint64(std::llround(days * 86400.0));
    const QDateTime u = dayZero().addSecs(secs);
    return QDateTime(u.date(), u.time());
}

double toDayCount(const QDateTime &dt)
{
    const QDateTime u(dt.date(), dt.time(), Qt::UTC);
    return double(dayZero().secsTo(u)) / 86400.0;
}

QString format(const Value &value, const QString &fmt)
{
    if (value.isNull())
        return QString();
    if (fmt.isEmpty()) {
        if (value.type() == ValueType::DateTime) {
            const QDateTime dt = value.toDateTime();
            return dt.time() == QTime(0, 0) ? formatDate(dt, QStringLiteral("yyyy-mm-dd"))
                                            : formatDate(dt, QStringLiteral("yyyy-mm-dd hh:nn:ss"));
        }
        return value.toString();
    }
    if (isDateFormat(fmt)) {
        const QDateTime dt = asDateTime(value);
        // Text that is no date (a partner's name beside a date) prints as it stands.
        if (!dt.isValid() && value.type() == ValueType::Text)
            return value.toString();
        return formatDate(dt, fmt);
    }
    if (looksNumeric(value)) {
        if (value.type() == ValueType::Text)
            return formatNumber(Value::real(value.toString().trimmed().toDouble()), fmt);
        return formatNumber(value, fmt);
    }
    return value.toString();
}

} // namespace kvl::ReportFormatter
