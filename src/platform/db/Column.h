// The values of one result column for every row, stored compactly: integers,
// money, booleans and date-times packed to the narrowest width, texts as
// indexes into the column's pool of distinct texts, a null bitmap on demand.
#pragma once

#include "PackedInts.h"
#include "StringPool.h"
#include "Value.h"

#include <QByteArray>

#include <vector>

struct sqlite3_stmt;

namespace kvl {

class Column
{
public:
    // ValueType::Null: the type is taken from the first non-null value appended.
    explicit Column(ValueType type = ValueType::Null);

    ValueType type() const { return m_type; }
    qsizetype size() const { return m_ints.size(); }
    void reserve(qsizetype n);

    // Appends the current row's value of column `col` of a stepped statement.
    void appendFromEngine(sqlite3_stmt *stmt, int col);
    void appendNull();
    // Appends a value of the column's type (or null).
    void append(const Value &v);
    // Decides the type of a column that has only seen nulls so far.
    void settle(ValueType type);

    bool isNull(qsizetype row) const
    {
        if (m_type == ValueType::Text)
            return m_ints.at(row) == StringPool::kNull;
        return !m_nulls.empty() && (m_nulls[size_t(row) >> 6] >> (row & 63)) & 1;
    }
    qint64 intAt(qsizetype row) const { return m_ints.at(row); }   // also a text's pool index
    double realAt(qsizetype row) const { return m_reals[size_t(row)]; }
    quint32 textIndex(qsizetype row) const { return quint32(m_ints.at(row)); }
    const StringPool &pool() const { return m_pool; }

    Value value(qsizetype row) const;
    // Stores a value already of the column's type (or null).
    void set(qsizetype row, const Value &v);

    // The value of column `col` of a stepped statement as a field of `type` holds it.
    static Value engineValue(sqlite3_stmt *stmt, int col, ValueType type);
    // Stored form "YYYY-MM-DD HH:MM:SS" (or a date alone) to seconds; false when it is none.
    static bool parseStoredDateTime(const char *p, qsizetype len, qint64 *secs);

    size_t memoryBytes() const;
    size_t textBytes() const { return m_pool.textBytes(); }

private:
    void setNullBit(qsizetype row, bool null);
    void growBitmap();

    ValueType m_type;
    PackedInts m_ints;               // every type keeps one entry per row here
    std::vector<double> m_reals;     // Float
    std::vector<QByteArray> m_bytes; // Bytes
    std::vector<quint64> m_nulls;    // empty until the first null (not used by Text)
    StringPool m_pool;               // Text
};

} // namespace kvl
