// One field value as the data layer carries it: null, integer, money (exact
// ten-thousandths), float, text, boolean, date-time or bytes.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <variant>

namespace kvl {

enum class ValueType : std::uint8_t { Null, Integer, Money, Float, Text, Boolean, DateTime, Bytes };

// Money is held as a signed 64-bit count of ten-thousandths everywhere.
constexpr qint64 kMoneyScale = 10000;

class Value
{
public:
    Value() = default;
    Value(const QString &text) : m_type(ValueType::Text), m_data(text) {}
    Value(const char *text) : Value(QString::fromUtf8(text)) {}

    static Value integer(qint64 v);
    static Value money(qint64 tenThousandths);
    static Value real(double v);
    static Value boolean(bool v);
    // Date-times are naive wall-clock times, kept as seconds since 1970-01-01 00:00:00
    // counted as if that wall clock were UTC.
    static Value dateTime(const QDateTime &dt);
    static Value dateTimeSecs(qint64 secs);
    static Value bytes(const QByteArray &b);

    ValueType type() const { return m_type; }
    bool isNull() const { return m_type == ValueType::Null; }

    qint64 toInt() const;          // integer, money units, boolean 0/1, date secs
    qint64 moneyUnits() const;     // money as ten-thousandths; integers scale up
    double toDouble() const;       // money divided by the scale
    bool toBool() const;
    QString toString() const;      // plain text form, money with up to 4 decimals
    QDateTime toDateTime() const;  // invalid when null
    qint64 dateTimeSecs() const { return toInt(); }
    QByteArray toBytes() const;

    // The stored text form of a date-time: "YYYY-MM-DD HH:MM:SS", 19 characters.
    static QString dateTimeText(qint64 secs);
    // Parses the stored form (or "YYYY-MM-DD" alone); false when it is not one.
    static bool parseDateTimeText(const QString &text, qint64 *secs);

    bool operator==(const Value &o) const;
    bool operator!=(const Value &o) const { return !(*this == o); }

private:
    ValueType m_type = ValueType::Null;
    std::variant<std::monostate, qint64, double, QString, QByteArray> m_data;
};

} // namespace kvl
