// Display formats and the parsing of typed values.
#include "Formatter.h"

#include <QDateTime>
#include <QStringList>

#include <cmath>
#include <limits>

namespace kvl {

namespace {

// One section of a numeric format, analysed.
struct Section
{
    QString prefix, suffix;
    int minInt = 0;      // '0's before the point
    int minFrac = 0;     // fraction digits always shown
    int maxFrac = 0;     // fraction digits at most
    bool group = false;  // ',' anywhere: thousands separators
    bool any = false;    // has at least one digit placeholder
};

QStringList splitSections(const QString &format)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            cur += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            cur += c;
        } else if (c == u';') {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

Section analyse(const QString &s)
{
    Section r;
    bool seenDigit = false, afterPoint = false;
    QString pendingLiteral;
    QChar quote;
    for (const QChar c : s) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                pendingLiteral += c;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            if (!seenDigit)
                r.prefix = pendingLiteral;
            else
                r.suffix += pendingLiteral; // text between placeholders goes after the number
            pendingLiteral.clear();
            seenDigit = true;
            r.any = true;
            if (afterPoint) {
                ++r.maxFrac;
                if (c == u'0')
                    r.minFrac = r.maxFrac;
            } else if (c == u'0') {
                ++r.minInt;
            }
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else if (c == u',') {
            r.group = true;
        } else {
            pendingLiteral += c;
        }
    }
    if (!seenDigit)
        r.prefix = pendingLiteral;
    else
        r.suffix += pendingLiteral;
    return r;
}

quint64 pow10u(int n)
{
    quint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Magnitude `mag` / 10^scale rounded half away from zero to `decimals` places,
// as integer digits and exactly `decimals` fraction digits.
void roundDigits(quint64 mag, int scale, int decimals, QString *intPart, QString *fracPart)
{
    unsigned __int128 m = mag;
    int sc = scale;
    if (decimals < sc) {
        const quint64 div = pow10u(sc - decimals);
        const unsigned __int128 q = m / div, r = m % div;
        m = q + (r * 2 >= div ? 1 : 0);
        sc = decimals;
    }
    QString all;
    do {
        all.prepend(QChar(u'0' + int(m % 10)));
        m /= 10;
    } while (m != 0);
    while (all.size() <= sc)
        all.prepend(u'0');
    *intPart = all.left(all.size() - sc);
    *fracPart = all.mid(all.size() - sc);
    while (fracPart->size() < decimals)
        *fracPart += u'0';
}

QString render(const Section &s, QString intPart, QString frac, bool minus)
{
    while (intPart.size() > 1 && intPart.startsWith(u'0'))
        intPart.remove(0, 1);
    if (intPart == u"0" && s.minInt == 0)
        intPart.clear();
    while (intPart.size() < s.minInt)
        intPart.prepend(u'0');
    if (s.group && intPart.size() > 3) {
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, u',');
    }
    while (frac.size() > s.minFrac && frac.endsWith(u'0'))
        frac.chop(1);
    QString number = intPart;
    if (!frac.isEmpty())
        number += u'.' + frac;
    if (!s.any)
        number.clear();
    return (minus ? QStringLiteral("-") : QString()) + s.prefix + number + s.suffix;
}

bool isZeroDigits(const QString &a, const QString &b)
{
    for (const QChar c : a + b)
        if (c != u'0')
            return false;
    return true;
}

// Formats a magnitude given as a function that rounds it to a number of decimals.
template<typename RoundFn>
QString formatWith(bool negative, const QString &format, RoundFn round)
{
    const QStringList secs = splitSections(format);
    const bool hasNeg = secs.size() > 1 && !secs[1].isEmpty();
    const bool hasZero = secs.size() > 2 && !secs[2].isEmpty();
    const Section pos = analyse(secs[0]);
    const Section sec = negative && hasNeg ? analyse(secs[1]) : pos;
    QString ip, fp;
    round(sec.maxFrac, &ip, &fp);
    if (isZeroDigits(ip, fp)) {
        if (hasZero) {
            const Section z = analyse(secs[2]);
            round(z.maxFrac, &ip, &fp);
            return render(z, QStringLiteral("0"), QString(fp).fill(u'0'), false);
        }
        return render(pos, ip, fp, false);
    }
    return render(sec, ip, fp, negative && !hasNeg);
}

QString normaliseTyped(const QString &text)
{
    QString t;
    t.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            t += QChar(u'0' + (u - 0xFF10));
        else if (u == 0xFF0E || u == 0x3002)
            t += u'.';
        else if (u == 0xFF0C)
            t += u',';
        else if (u == 0xFF0D || u == 0x2212)
            t += u'-';
        else if (u == 0xFF0B)
            t += u'+';
        else if (u == 0xFF0F)
            t += u'/';
        else if (u == 0xFF1A)
            t += u':';
        else if (u == 0x3000)
            t += u' ';
        else
            t += c;
    }
    return t.trimmed();
}

} // namespace

const QString &Formatter::currencyFormat()
{
    static const QString f = QStringLiteral("¥,0.00;¥-,0.00");
    return f;
}

QString Formatter::formatDecimal(qint64 digits, int scale, const QString &format)
{
    const bool neg = digits < 0;
    const quint64 mag = neg ? quint64(0) - quint64(digits) : quint64(digits);
    return formatWith(neg, format, [&](int decimals, QString *ip, QString *fp) {
        roundDigits(mag, scale, decimals, ip, fp);
    });
}

QString Formatter::formatFloat(double v, const QString &format)
{
    if (!std::isfinite(v))
        return QString::number(v);
    const bool neg = v < 0;
    const double mag = std::fabs(v);
    return formatWith(neg, format, [&](int decimals, QString *ip, QString *fp) {
        const QString s = QString::number(mag, 'f', decimals);
        const qsizetype dot = s.indexOf(u'.');
        *ip = dot < 0 ? s : s.left(dot);
        *fp = dot < 0 ? QString() : s.mid(dot + 1);
    });
}

QString Formatter::formatDateTime(qint64 secs, const QString &format)
{
    const QDateTime dt = QDateTime::fromSecsSinceEpoch(secs, Qt::UTC);
    const QDate d = dt.date();
    const QTime t = dt.time();
    QString out;
    bool afterHour = false;
    const QString f = format;
    for (qsizetype i = 0; i < f.size();) {
        const QChar c = f[i];
        const QChar lc = c.toLower();
        qsizetype run = 1;
        while (i + run < f.size() && f[i + run].toLower() == lc)
            ++run;
        auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
        if (c == u'\'' || c == u'"') {
            const qsizetype end = f.indexOf(c, i + 1);
            out += f.mid(i + 1, (end < 0 ? f.size() : end) - i - 1);
            i = end < 0 ? f.size() : end + 1;
            continue;
        }
        if (lc == u'y') {
            out += run >= 3 ? QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) : two(d.year() % 100);
        } else if (lc == u'm') {
            const int v = afterHour ? t.minute() : d.month();
            out += run >= 2 ? two(v) : QString::number(v);
            afterHour = false;
        } else if (lc == u'd') {
            out += run >= 2 ? two(d.day()) : QString::number(d.day());
        } else if (lc == u'h') {
            out += run >= 2 ? two(t.hour()) : QString::number(t.hour());
            afterHour = true;
        } else if (lc == u'n') {
            out += run >= 2 ? two(t.minute()) : QString::number(t.minute());
        } else if (lc == u's') {
            out += run >= 2 ? two(t.second()) : QString::number(t.second());
        } else {
            out += f.mid(i, run);
        }
        i += run;
    }
    return out;
}

QString Formatter::displayText(const Value &v, ValueType fieldType, const QString &format, bool currency)
{
    if (v.isNull())
        return QString();
    const QString &fmt = currency && format.isEmpty() ? currencyFormat() : format;
    switch (fieldType) {
    case ValueType::Money:
        if (v.type() == ValueType::Money || v.type() == ValueType::Integer)
            return fmt.isEmpty() ? Value::money(v.moneyUnits()).toString() : formatMoney(v.moneyUnits(), fmt);
        break;
    case ValueType::Integer:
        if (v.type() == ValueType::Integer)
            return fmt.isEmpty() ? v.toString() : formatDecimal(v.toInt(), 0, fmt);
        break;
    case ValueType::Float:
        if (v.type() == ValueType::Float || v.type() == ValueType::Integer)
            return fmt.isEmpty() ? v.toString() : formatFloat(v.toDouble(), fmt);
        break;
    case ValueType::DateTime:
        if (v.type() == ValueType::DateTime) {
            if (!fmt.isEmpty())
                return formatDateTime(v.dateTimeSecs(), fmt);
            const qint64 s = v.dateTimeSecs();
            return formatDateTime(s, ((s % 86400) + 86400) % 86400 == 0 ? QStringLiteral("yyyy-mm-dd")
                                                                      : QStringLiteral("yyyy-mm-dd hh:nn:ss"));
        }
        break;
    default:
        break;
    }
    // A value as typed that does not fit the field yet shows as typed.
    return v.toString();
}

bool Formatter::parseMoney(const QString &text, qint64 *units, QString *error)
{
    const QString t = normaliseTyped(text);
    auto bad = [&] {
        if (error)
            *error = QStringLiteral("“%1”不是有效的金额。").arg(text.trimmed());
        return false;
    };
    qsizetype i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        neg = t[i++] == u'-';
    if (i < t.size() && (t[i] == u'¥' || t[i] == QChar(0xFFE5)))
        ++i;
    if (!neg && i < t.size() && t[i] == u'-') // "¥-12.50", the currency format's own negative form
        neg = true, ++i;
    const QString body = t.mid(i);
    const qsizetype dot = body.indexOf(u'.');
    QString ip = dot < 0 ? body : body.left(dot);
    const QString fp = dot < 0 ? QString() : body.mid(dot + 1);
    if (ip.isEmpty() && fp.isEmpty())
        return bad();
    if (ip.contains(u',')) {
        const QStringList groups = ip.split(u',');
        if (groups[0].isEmpty() || groups[0].size() > 3)
            return bad();
        for (qsizetype g = 1; g < groups.size(); ++g)
            if (groups[g].size() != 3)
                return bad();
        ip.remove(u',');
    }
    for (const QChar c : ip + fp)
        if (c < u'0' || c > u'9')
            return bad();
    unsigned __int128 mag = 0;
    for (const QChar c : ip) {
        mag = mag * 10 + unsigned(c.unicode() - u'0');
        if (mag > (unsigned __int128)(1) << 64)
            break;
    }
    mag *= kMoneyScale;
    for (int k = 0; k < 4; ++k)
        mag += unsigned((k < fp.size() ? fp[k].unicode() - u'0' : 0)) * pow10u(3 - k);
    if (fp.size() > 4 && fp[4] >= u'5')
        mag += 1; // half away from zero: the magnitude rounds up
    const unsigned __int128 limit = neg ? (unsigned __int128)(quint64(1) << 63)
                                        : (unsigned __int128)(std::numeric_limits<qint64>::max());
    if (mag > limit) {
        if (error)
            *error = QStringLiteral("金额“%1”超出允许的范围。").arg(text.trimmed());
        return false;
    }
    *units = neg ? qint64(quint64(0) - quint64(mag)) : qint64(mag);
    return true;
}

bool Formatter::parseInteger(const QString &text, qint64 *v, QString *error)
{
    bool ok = false;
    const qint64 r = normaliseTyped(text).toLongLong(&ok);
    if (!ok) {
        if (error)
            *error = QStringLiteral("“%1”不是有效的整数。").arg(text.trimmed());
        return false;
    }
    *v = r;
    return true;
}

bool Formatter::parseDate(const QString &text, qint64 *secs, QString *error)
{
    const QString t = normaliseTyped(text);
    auto bad = [&] {
        if (error)
            *error = QStringLiteral("“%1”不是有效的日期。").arg(text.trimmed());
        return false;
    };
    const qsizetype sp = t.indexOf(u' ');
    const QString datePart = sp < 0 ? t : t.left(sp);
    const QString timePart = sp < 0 ? QString() : t.mid(sp + 1).trimmed();
    QChar sep;
    for (const QChar c : datePart)
        if (c == u'/' || c == u'-' || c == u'.') {
            sep = c;
            break;
        }
    if (sep.isNull())
        return bad();
    const QStringList p = datePart.split(sep);
    if (p.size() != 3 || p[0].size() != 4 || p[1].isEmpty() || p[1].size() > 2 || p[2].isEmpty() || p[2].size() > 2)
        return bad();
    bool ok1, ok2, ok3;
    const QDate d(p[0].toInt(&ok1), p[1].toInt(&ok2), p[2].toInt(&ok3));
    if (!ok1 || !ok2 || !ok3 || !d.isValid())
        return bad();
    QTime tm(0, 0);
    if (!timePart.isEmpty()) {
        tm = QTime::fromString(timePart, QStringLiteral("H:mm:ss"));
        if (!tm.isValid())
            tm = QTime::fromString(timePart, QStringLiteral("H:mm"));
        if (!tm.isValid())
            return bad();
    }
    *secs = QDateTime(d, tm, Qt::UTC).toSecsSinceEpoch();
    return true;
}

QString Formatter::typeName(ValueType type)
{
    switch (type) {
    case ValueType::Integer: return QStringLiteral("整数");
    case ValueType::Money: return QStringLiteral("金额");
    case ValueType::Float: return QStringLiteral("数值");
    case ValueType::Text: return QStringLiteral("文本");
    case ValueType::Boolean: return QStringLiteral("逻辑值");
    case ValueType::DateTime: return QStringLiteral("日期");
    case ValueType::Bytes: return QStringLiteral("二进制数据");
    case ValueType::Null: break;
    }
    return QString();
}

bool Formatter::convert(const Value &v, ValueType type, Value *out, QString *error)
{
    if (v.isNull() || v.type() == type || type == ValueType::Null) {
        *out = v;
        return true;
    }
    auto refuse = [&] {
        if (error)
            *error = QStringLiteral("“%1”不是有效的%2。").arg(v.toString(), typeName(type));
        return false;
    };
    const ValueType from = v.type();
    switch (type) {
    case ValueType::Text:
        *out = Value(v.toString());
        return true;
    case ValueType::Bytes:
        *out = Value::bytes(v.toBytes());
        return true;
    case ValueType::Money: {
        qint64 u = 0;
        if (from == ValueType::Integer) {
            if (__builtin_mul_overflow(v.toInt(), kMoneyScale, &u)) {
                if (error)
                    *error = QStringLiteral("金额“%1”超出允许的范围。").arg(v.toString());
                return false;
            }
        } else if (from == ValueType::Float) {
            const double d = std::round(v.toDouble() * kMoneyScale);
            if (!(std::fabs(d) < 9.2e18)) {
                if (error)
                    *error = QStringLiteral("金额“%1”超出允许的范围。").arg(v.toString());
                return false;
            }
            u = qint64(d);
        } else if (from == ValueType::Text) {
            if (v.toString().trimmed().isEmpty()) {
                *out = Value();
                return true;
            }
            if (!parseMoney(v.toString(), &u, error))
                return false;
        } else {
            return refuse();
        }
        *out = Value::money(u);
        return true;
    }
    case ValueType::Integer: {
        qint64 i = 0;
        if (from == ValueType::Boolean)
            i = v.toInt();
        else if (from == ValueType::Money && v.moneyUnits() % kMoneyScale == 0)
            i = v.moneyUnits() / kMoneyScale;
        else if (from == ValueType::Float && std::trunc(v.toDouble()) == v.toDouble() && std::fabs(v.toDouble()) < 9e18)
            i = qint64(v.toDouble());
        else if (from == ValueType::Text) {
            if (v.toString().trimmed().isEmpty()) {
                *out = Value();
                return true;
            }
            if (!parseInteger(v.toString(), &i, error))
                return false;
        } else
            return refuse();
        *out = Value::integer(i);
        return true;
    }
    case ValueType::Float: {
        if (from == ValueType::Integer || from == ValueType::Money || from == ValueType::Boolean) {
            *out = Value::real(v.toDouble());
            return true;
        }
        if (from == ValueType::Text) {
            bool ok = false;
            const double d = normaliseTyped(v.toString()).remove(u',').toDouble(&ok);
            if (!ok)
                return refuse();
            *out = Value::real(d);
            return true;
        }
        return refuse();
    }
    case ValueType::Boolean: {
        if (from == ValueType::Integer && (v.toInt() == 0 || v.toInt() == 1)) {
            *out = Value::boolean(v.toInt() != 0);
            return true;
        }
        if (from == ValueType::Text) {
            const QString t = v.toString().trimmed().toLower();
            if (t == u"true" || t == u"1" || t == u"false" || t == u"0") {
                *out = Value::boolean(t == u"true" || t == u"1");
                return true;
            }
        }
        return refuse();
    }
    case ValueType::DateTime: {
        if (from == ValueType::Text) {
            if (v.toString().trimmed().isEmpty()) {
                *out = Value();
                return true;
            }
            qint64 s = 0;
            if (Value::parseDateTimeText(v.toString(), &s) || parseDate(v.toString(), &s, error)) {
                *out = Value::dateTimeSecs(s);
                return true;
            }
            return false;
        }
        return refuse();
    }
    case ValueType::Null:
        break;
    }
    return refuse();
}

} // namespace kvl
