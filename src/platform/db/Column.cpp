// Compact column storage and the conversion of engine values into field types.
#include "Column.h"

#include <sqlite3.h>

#include <cmath>

namespace kvl {

namespace {

qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

bool digits(const char *p, int n, int *out)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + (p[i] - '0');
    }
    *out = v;
    return true;
}

} // namespace

Column::Column(ValueType type) : m_type(type) {}

void Column::reserve(qsizetype n)
{
    m_ints.reserve(n);
    if (m_type == ValueType::Float)
        m_reals.reserve(size_t(n));
}

bool Column::parseStoredDateTime(const char *p, qsizetype len, qint64 *secs)
{
    if (len != 19 && len != 10)
        return false;
    int y, mo, d, h = 0, mi = 0, s = 0;
    if (!digits(p, 4, &y) || p[4] != '-' || !digits(p + 5, 2, &mo) || p[7] != '-' || !digits(p + 8, 2, &d))
        return false;
    if (len == 19
        && (p[10] != ' ' || !digits(p + 11, 2, &h) || p[13] != ':' || !digits(p + 14, 2, &mi) || p[16] != ':'
            || !digits(p + 17, 2, &s)))
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59)
        return false;
    *secs = daysFromCivil(y, unsigned(mo), unsigned(d)) * 86400 + h * 3600 + mi * 60 + s;
    return true;
}

void Column::growBitmap()
{
    const size_t words = (size_t(size()) + 63) >> 6;
    if (m_nulls.size() < words)
        m_nulls.resize(words, 0);
}

void Column::setNullBit(qsizetype row, bool null)
{
    if (m_type == ValueType::Text)
        return;
    if (m_nulls.empty()) {
        if (!null)
            return;
        growBitmap();
    }
    const quint64 bit = quint64(1) << (row & 63);
    if (null)
        m_nulls[size_t(row) >> 6] |= bit;
    else
        m_nulls[size_t(row) >> 6] &= ~bit;
}

void Column::appendNull()
{
    m_ints.append(0);
    if (m_type == ValueType::Float)
        m_reals.push_back(0);
    else if (m_type == ValueType::Bytes)
        m_bytes.emplace_back();
    if (m_type != ValueType::Text) {
        if (m_nulls.empty())
            growBitmap();
        else if (m_nulls.size() * 64 < size_t(size()))
            m_nulls.push_back(0);
        setNullBit(size() - 1, true);
    }
}

void Column::settle(ValueType type)
{
    if (m_type != ValueType::Null)
        return;
    m_type = type;
    if (type == ValueType::Text)
        m_nulls.clear(); // every row so far holds index 0, which is NULL
    else if (type == ValueType::Float)
        m_reals.assign(size_t(size()), 0);
    else if (type == ValueType::Bytes)
        m_bytes.resize(size_t(size()));
}

void Column::appendFromEngine(sqlite3_stmt *stmt, int col)
{
    // The cell is read through its value object: one call into the statement per
    // cell instead of one per question (type, text, length). Connections are
    // used by one thread only (opened without the engine's mutex), so the value
    // object needs no protection.
    sqlite3_value *v = sqlite3_column_value(stmt, col);
    const int et = sqlite3_value_type(v);
    if (et == SQLITE_NULL) {
        appendNull();
        return;
    }
    if (m_type == ValueType::Null)
        settle(et == SQLITE_INTEGER ? ValueType::Integer
               : et == SQLITE_FLOAT ? ValueType::Float
               : et == SQLITE_BLOB  ? ValueType::Bytes
                                    : ValueType::Text);
    switch (m_type) {
    case ValueType::Text: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
        m_ints.append(m_pool.intern(p, sqlite3_value_bytes(v)));
        break;
    }
    case ValueType::DateTime: {
        qint64 secs = 0;
        if (et == SQLITE_INTEGER)
            secs = sqlite3_value_int64(v);
        else if (!parseStoredDateTime(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v),
                                      &secs)) {
            appendNull();
            return;
        }
        m_ints.append(secs);
        break;
    }
    case ValueType::Float:
        m_ints.append(0);
        m_reals.push_back(sqlite3_value_double(v));
        break;
    case ValueType::Bytes: {
        m_ints.append(0);
        const void *p = sqlite3_value_blob(v);
        m_bytes.emplace_back(static_cast<const char *>(p), sqlite3_value_bytes(v));
        break;
    }
    case ValueType::Money:
        m_ints.append(et == SQLITE_FLOAT ? qint64(std::llround(sqlite3_value_double(v)))
                                         : sqlite3_value_int64(v));
        break;
    case ValueType::Boolean:
        m_ints.append(sqlite3_value_int64(v) != 0);
        break;
    default:
        m_ints.append(sqlite3_value_int64(v));
        break;
    }
    if (!m_nulls.empty() && m_nulls.size() * 64 < size_t(size()))
        m_nulls.push_back(0);
}

Value Column::engineValue(sqlite3_stmt *stmt, int col, ValueType type)
{
    Column c(type);
    c.appendFromEngine(stmt, col);
    return c.value(0);
}

void Column::append(const Value &v)
{
    appendNull();
    set(size() - 1, v);
}

Value Column::value(qsizetype row) const
{
    if (isNull(row))
        return Value();
    switch (m_type) {
    case ValueType::Text:
        return Value(m_pool.text(textIndex(row)));
    case ValueType::Integer:
        return Value::integer(intAt(row));
    case ValueType::Money:
        return Value::money(intAt(row));
    case ValueType::Boolean:
        return Value::boolean(intAt(row) != 0);
    case ValueType::DateTime:
        return Value::dateTimeSecs(intAt(row));
    case ValueType::Float:
        return Value::real(realAt(row));
    case ValueType::Bytes:
        return Value::bytes(m_bytes[size_t(row)]);
    case ValueType::Null:
        break;
    }
    return Value();
}

void Column::set(qsizetype row, const Value &v)
{
    if (m_type == ValueType::Null && !v.isNull())
        settle(v.type());
    const bool null = v.isNull();
    switch (m_type) {
    case ValueType::Text:
        if (null) {
            m_ints.set(row, StringPool::kNull);
        } else {
            const QByteArray u = v.toString().toUtf8();
            m_ints.set(row, m_pool.intern(u.constData(), u.size()));
        }
        break;
    case ValueType::Float:
        m_reals[size_t(row)] = null ? 0 : v.toDouble();
        break;
    case ValueType::Bytes:
        m_bytes[size_t(row)] = null ? QByteArray() : v.toBytes();
        break;
    case ValueType::Money:
        m_ints.set(row, null ? 0 : v.moneyUnits());
        break;
    default:
        m_ints.set(row, null ? 0 : v.toInt());
        break;
    }
    setNullBit(row, null);
}

size_t Column::memoryBytes() const
{
    size_t n = m_ints.memoryBytes() + m_reals.capacity() * sizeof(double) + m_nulls.capacity() * sizeof(quint64)
               + m_pool.memoryBytes() - m_pool.textBytes() + m_bytes.capacity() * sizeof(QByteArray);
    return n;
}

} // namespace kvl
