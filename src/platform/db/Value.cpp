// Conversions of the data layer's value type.
#include "Value.h"


#include <cmath>

namespace kvl {

Value Value::integer(qint64 v) { Value r; r.m_type = ValueType::Integer; r.m_data = v; return r; }
Value Value::money(qint64 u) { Value r; r.m_type = ValueType::Money; r.m_data = u; return r; }
Value Value::real(double v) { Value r; r.m_type = ValueType::Float; r.m_data = v; return r; }
Value Value::boolean(bool v) { Value r; r.m_type = ValueType::Boolean; r.m_data = qint64(v ? 1 : 0); return r; }
Value Value::dateTimeSecs(qint64 s) { Value r; r.m_type = ValueType::DateTime; r.m_data = s; return r; }
Value Value::bytes(const QByteArray &b) { Value r; r.m_type = ValueType::Bytes; r.m_data = b; return r; }

Value Value::dateTime(const QDateTime &dt)
{
    if (!dt.isValid())
        return Value();
    QDateTime wall(dt.date(), dt.time(), Qt::UTC);
    return dateTimeSecs(wall.toSecsSinceEpoch());
}

qint64 Value::toInt() const
{
    switch (m_type) {
    case ValueType::Integer:
    case ValueType::Boolean:
    case ValueType::DateTime:
        return std::get<qint64>(m_data);
    case ValueType::Money:
        return std::get<qint64>(m_data) / kMoneyScale;
    case ValueType::Float:
        return qint64(std::llround(std::get<double>(m_data)));
    case ValueType::Text:
        return std::get<QString>(m_data).trimmed().toLongLong();
    default:
        return 0;
    }
}

qint64 Value::moneyUnits() const
{
    switch (m_type) {
    case ValueType::Money:
        return std::get<qint64>(m_data);
    case ValueType::Integer:
    case ValueType::Boolean:
        return std::get<qint64>(m_data) * kMoneyScale;
    case ValueType::Float:
        return qint64(std::llround(std::get<double>(m_data) * kMoneyScale));
    default:
        return 0;
    }
}

double Value::toDouble() const
{
    switch (m_type) {
    case ValueType::Float:
        return std::get<double>(m_data);
    case ValueType::Money:
        return double(std::get<qint64>(m_data)) / kMoneyScale;
    case ValueType::Integer:
    case ValueType::Boolean:
    case ValueType::DateTime:
        return double(std::get<qint64>(m_data));
    case ValueType::Text:
        return std::get<QString>(m_data).trimmed().toDouble();
    default:
        return 0;
    }
}

bool Value::toBool() const
{
    switch (m_type) {
    case ValueType::Null:
        return false;
    case ValueType::Text: {
        const QString t = std::get<QString>(m_data).trimmed().toLower();
        return t == QLatin1String("true") || t == QLatin1String("1");
    }
    case ValueType::Float:
        return std::get<double>(m_data) != 0;
    case ValueType::Bytes:
        return !std::get<QByteArray>(m_data).isEmpty();
    default:
        return std::get<qint64>(m_data) != 0;
    }
}

static QString moneyPlain(qint64 u)
{
    const bool neg = u < 0;
    // Work in unsigned so the int64 minimum has a magnitude too.
    const quint64 mag = neg ? quint64(0) - quint64(u) : quint64(u);
    QString s = QString::number(mag / kMoneyScale);
    quint64 frac = mag % kMoneyScale;
    if (frac) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    return neg ? QLatin1Char('-') + s : s;
}

QString Value::toString() const
{
    switch (m_type) {
    case ValueType::Null:
        return QString();
    case ValueType::Integer:
        return QString::number(std::get<qint64>(m_data));
    case ValueType::Money:
        return moneyPlain(std::get<qint64>(m_data));
    case ValueType::Float:
        return QString::number(std::get<double>(m_data), 'g', 15);
    case ValueType::Boolean:
        return std::get<qint64>(m_data) ? QStringLiteral("True") : QStringLiteral("False");
    case ValueType::DateTime:
        return dateTimeText(std::get<qint64>(m_data));
    case ValueType::Text:
        return std::get<QString>(m_data);
    case ValueType::Bytes:
        return QString::fromUtf8(std::get<QByteArray>(m_data));
    }
    return QString();
}

QDateTime Value::toDateTime() const
{
    if (m_type == ValueType::DateTime) {
        QDateTime u = QDateTime::fromSecsSinceEpoch(std::get<qint64>(m_data), Qt::UTC);
        return QDateTime(u.date(), u.time());
    }
    if (m_type == ValueType::Text) {
        qint64 s;
        if (parseDateTimeText(std::get<QString>(m_data), &s))
            return Value::dateTimeSecs(s).toDateTime();
    }
    return QDateTime();
}

QByteArray Value::toBytes() const
{
    if (m_type == ValueType::Bytes)
        return std::get<QByteArray>(m_data);
    if (m_type == ValueType::Null)
        return QByteArray();
    return toString().toUtf8();
}

QString Value::dateTimeText(qint64 secs)
{
    const QDateTime u = QDateTime::fromSecsSinceEpoch(secs, Qt::UTC);
    return u.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool Value::parseDateTimeText(const QString &text, qint64 *secs)
{
    const QString t = text.trimmed();
    QDateTime dt;
    if (t.size() == 19)
        dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    else if (t.size() == 10)
        dt = QDateTime(QDate::fromString(t, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    if (!dt.isValid())
        return false;
    *secs = QDateTime(dt.date(), dt.time(), Qt::UTC).toSecsSinceEpoch();
    return true;
}

bool Value::operator==(const Value &o) const
{
    return m_type == o.m_type && m_data == o.m_data;
}

} // namespace kvl
