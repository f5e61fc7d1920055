// The one place where field values become display text and typed text becomes
// values: the numeric format language (",0.00;;#", "#.####", ",0.00##", three
// sections), the currency format, date formats ("yyyy/mm/dd"), and the parsing
// of money, numbers and dates as a user types them.
#pragma once

#include "Value.h"

#include <QString>

namespace kvl {

class Formatter
{
public:
    // Currency: the yuan sign, thousands separators, two decimals; a minus after the sign.
    static const QString &currencyFormat();

    // value = digits / 10^scale, exact. Sections "positive;negative;zero": an empty or
    // missing negative section formats negatives as positives with a leading minus; a
    // value that rounds to zero takes the zero section when there is one.
    static QString formatDecimal(qint64 digits, int scale, const QString &format);
    static QString formatMoney(qint64 units, const QString &format) { return formatDecimal(units, 4, format); }
    static QString formatFloat(double v, const QString &format);
    // Tokens: yyyy yy mm m dd d hh h nn n ss s (mm after h means minutes); quoted text literal.
    static QString formatDateTime(qint64 secs, const QString &format);

    // The text a field shows: its format, or the plain form of its type when it has none.
    static QString displayText(const Value &v, ValueType fieldType, const QString &format, bool currency);

    // Typed money: optional sign and yuan sign, thousands separators or none,
    // full-width digits; beyond four decimals rounded half away from zero.
    // Empty text is NULL. On failure `error` says why and false comes back.
    static bool parseMoney(const QString &text, qint64 *units, QString *error);
    static bool parseInteger(const QString &text, qint64 *v, QString *error);
    // "yyyy/mm/dd", "yyyy-mm-dd", "yyyy.mm.dd", optionally followed by "hh:mm[:ss]".
    static bool parseDate(const QString &text, qint64 *secs, QString *error);

    // Converts `v` to a field of `type`; text is parsed as above. NULL stays NULL.
    static bool convert(const Value &v, ValueType type, Value *out, QString *error);

    static QString typeName(ValueType type);
};

} // namespace kvl
