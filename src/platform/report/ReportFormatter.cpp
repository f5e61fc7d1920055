// The report's number and date formatting, exact for money (int64 ten-thousandths).
#include "ReportFormatter.h"

#include <QStringList>
#include <cmath>

namespace kvl::ReportFormatter {

namespace {

const QDateTime &dayZero()
{
    static const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return zero;
}

// A magnitude as decimal digits: integer digits and fraction digits, no sign.
struct Decimal
{
    bool negative = false;
    QString intDigits;
    QString fracDigits;

    bool isZero() const
    {
        for (QChar c : intDigits + fracDigits)
            if (c != QLatin1Char('0'))
                return false;
        return true;
    }
};

Decimal toDecimal(const Value &v)
{
    Decimal d;
    switch (v.type()) {
    case ValueType::Money: {
        const qint64 u = v.moneyUnits();
        d.negative = u < 0;
        const quint64 mag = d.negative ? quint64(0) - quint64(u) : quint64(u);
        d.intDigits = QString::number(mag / kMoneyScale);
        d.fracDigits = QStringLiteral("%1").arg(mag % kMoneyScale, 4, 10, QLatin1Char('0'));
        break;
    }
    case ValueType::Integer:
    case ValueType::Boolean: {
        const qint64 i = v.toInt();
        d.negative = i < 0;
        const quint64 mag = d.negative ? quint64(0) - quint64(i) : quint64(i);
        d.intDigits = QString::number(mag);
        break;
    }
    default: {
        const double x = v.toDouble();
        d.negative = x < 0;
        const QString s = QString::number(std::fabs(x), 'f', 10);
        const qsizetype dot = s.indexOf(QLatin1Char('.'));
        d.intDigits = dot < 0 ? s : s.left(dot);
        d.fracDigits = dot < 0 ? QString() : s.mid(dot + 1);
        break;
    }
    }
    return d;
}

// Rounds half away from zero to `places` fraction digits.
void roundTo(Decimal &d, int places)
{
    if (d.fracDigits.size() <= places) {
        d.fracDigits = d.fracDigits.leftJustified(places, QLatin1Char('0'));
        return;
    }
    const bool up = d.fracDigits.at(places) >= QLatin1Char('5');
    QString digits = d.intDigits + d.fracDigits.left(places);
    if (up) {
        int i = int(digits.size()) - 1;
        while (i >= 0) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
                --i;
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
    }
    d.intDigits = digits.left(digits.size() - places);
    d.fracDigits = digits.right(places);
}

// Splits on ';' outside quotes.
QStringList sections(const QString &format)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            cur += c;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            cur += c;
        } else if (c == QLatin1Char(';')) {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

QString unquote(const QString &literal)
{
    QString out;
    QChar quote;
    for (QChar c : literal) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else {
            out += c;
        }
    }
    return out;
}

bool isPlaceholder(QChar c)
{
    return c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char(',') || c == QLatin1Char('.');
}

// One section applied to a magnitude (the sign is the caller's business).
QString applySection(const QString &section, Decimal d)
{
    // Literal text before the first and after the last placeholder; quotes are skipped.
    int begin = -1, end = -1;
    QChar quote;
    for (int i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            continue;
        }
        if (isPlaceholder(c)) {
            if (begin < 0)
                begin = i;
            end = i + 1;
        }
    }
    if (begin < 0)
        return unquote(section);
    const QString prefix = unquote(section.left(begin));
    const QString suffix = unquote(section.mid(end));
    const QString core = section.mid(begin, end - begin);

    const qsizetype dot = core.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? core : core.left(dot);
    const QString fracPart = dot < 0 ? QString() : core.mid(dot + 1);
    const bool thousands = intPart.contains(QLatin1Char(','));
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const int minFrac = int(fracPart.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPart.count(QLatin1Char('#')));

    roundTo(d, maxFrac);
    QString frac = d.fracDigits;
    while (frac.size() > minFrac && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);

    QString whole = d.intDigits;
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole == QLatin1String("0"))
        whole.clear();
    if (whole.size() < minInt)
        whole = whole.rightJustified(minInt, QLatin1Char('0'));
    if (thousands) {
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
            whole.insert(i, QLatin1Char(','));
    }
    QString out = whole;
    if (!frac.isEmpty())
        out += QLatin1Char('.') + frac;
    return prefix + out + suffix;
}

QString formatNumber(const Value &v, const QString &format)
{
    const QStringList parts = sections(format);
    Decimal d = toDecimal(v);

    // The section is chosen on the value as it will show, so -0.001 under ",0.00"
    // prints as zero rather than "-0.00".
    int places = 0;
    {
        const QString &first = parts.first();
        const qsizetype dot = first.indexOf(QLatin1Char('.'));
        if (dot >= 0)
            for (qsizetype i = dot + 1; i < first.size(); ++i)
                if (first[i] == QLatin1Char('0') || first[i] == QLatin1Char('#'))
                    ++places;
    }
    Decimal rounded = d;
    roundTo(rounded, places);
    if (rounded.isZero()) {
        if (parts.size() >= 3 && !parts[2].isEmpty())
            return applySection(parts[2], d);
        return applySection(parts[0], d);
    }
    if (d.negative) {
        if (parts.size() >= 2 && !parts[1].isEmpty())
            return applySection(parts[1], d);
        return QLatin1Char('-') + applySection(parts[0], d);
    }
    return applySection(parts[0], d);
}

QString formatDate(const QDateTime &dt, const QString &format)
{
    if (!dt.isValid())
        return QString();
    QString out;
    const QString f = format;
    bool afterHour = false;
    for (int i = 0; i < f.size();) {
        const QChar c = f[i].toLower();
        int run = 1;
        while (i + run < f.size() && f[i + run].toLower() == c)
            ++run;
        auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
        if (c == QLatin1Char('y')) {
            out += run >= 3 ? QString::number(dt.date().year()) : two(dt.date().year() % 100);
        } else if (c == QLatin1Char('m')) {
            // "mm" after an hour means minutes, as the date language has it.
            const int n = afterHour ? dt.time().minute() : dt.date().month();
            out += run >= 2 ? two(n) : QString::number(n);
        } else if (c == QLatin1Char('d')) {
            out += run >= 2 ? two(dt.date().day()) : QString::number(dt.date().day());
        } else if (c == QLatin1Char('h')) {
            out += run >= 2 ? two(dt.time().hour()) : QString::number(dt.time().hour());
            afterHour = true;
        } else if (c == QLatin1Char('n')) {
            out += run >= 2 ? two(dt.time().minute()) : QString::number(dt.time().minute());
        } else if (c == QLatin1Char('s')) {
            out += run >= 2 ? two(dt.time().second()) : QString::number(dt.time().second());
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = f.indexOf(f[i], i + 1);
            const qsizetype stop = close < 0 ? f.size() : close;
            out += f.mid(i + 1, stop - i - 1);
            i = int(stop) + 1;
            continue;
        } else {
            out += f.mid(i, run);
        }
        i += run;
    }
    return out;
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
