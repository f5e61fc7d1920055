// SQL of the dataset write path.
#include "DatasetWriter.h"

#include "Column.h"
#include "Connection.h"
#include "Statement.h"

#include <algorithm>

namespace kvl {

namespace {

QString quoted(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

DatasetWriter::DatasetWriter(Connection &conn, const QString &table, const QList<FieldDef> &fields,
                             const QStringList &keyFields)
    : m_conn(conn), m_table(table), m_fields(fields)
{
    QStringList seen;
    for (int i = 0; i < fields.size(); ++i) {
        const FieldDef &f = fields[i];
        if (f.isLookup() || f.column < 0 || f.originColumn.isEmpty()
            || f.originTable.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        // A joined copy of a column of the same table (an alias of it) is not written again.
        if (seen.contains(f.originColumn, Qt::CaseInsensitive))
            continue;
        seen << f.originColumn;
        m_targets.push_back({i, f.originColumn});
    }
    if (m_targets.empty())
        throw DbError(QStringLiteral("数据集中没有表“%1”的字段，不能写入。").arg(table));

    auto targetOf = [&](const QString &column) {
        for (const Target &t : m_targets)
            if (t.column.compare(column, Qt::CaseInsensitive) == 0)
                return t.field;
        return -1;
    };
    for (const QString &k : keyFields) {
        int idx = -1;
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(k, Qt::CaseInsensitive) == 0)
                idx = i;
        if (idx < 0 || !writes(idx))
            throw DbError(QStringLiteral("关键字段“%1”不是表“%2”的字段。").arg(k, table));
        m_keys.push_back(idx);
    }
    if (m_keys.empty()) {
        Statement info(conn, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
        QList<std::pair<int, QString>> pk;
        while (info.next())
            if (info.int64(5) > 0)
                pk.append({int(info.int64(5)), info.text(1)});
        std::sort(pk.begin(), pk.end());
        for (const auto &p : pk) {
            const int f = targetOf(p.second);
            if (f < 0) {
                m_keys.clear();
                break;
            }
            m_keys.push_back(f);
        }
    }
    if (m_keys.empty()) {
        m_allColumnsKey = true;
        for (const Target &t : m_targets)
            m_keys.push_back(t.field);
    }
}

bool DatasetWriter::writes(int field) const
{
    for (const Target &t : m_targets)
        if (t.field == field)
            return true;
    return false;
}

Value DatasetWriter::storedValue(const FieldDef &field, const Value &v)
{
    if (field.type == ValueType::Text && (v.isNull() || v.toString().isEmpty()))
        return Value(QStringLiteral(""));
    return v;
}

QString DatasetWriter::whereClause(const std::vector<Value> &original, QList<Value> *binds) const
{
    QStringList conds;
    for (const int k : m_keys) {
        QString column;
        for (const Target &t : m_targets)
            if (t.field == k)
                column = t.column;
        conds << quoted(column) + QStringLiteral(" IS ?");
        binds->append(original[size_t(k)]);
    }
    if (m_allColumnsKey) // a table without a key: one row among equals, found by its rowid
        return QStringLiteral(" WHERE rowid IN (SELECT rowid FROM %1 WHERE %2 LIMIT 1)")
            .arg(quoted(m_table), conds.join(QStringLiteral(" AND ")));
    return QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
}

void DatasetWriter::insertRow(std::vector<Value> &row)
{
    QStringList cols, marks;
    QList<Value> binds;
    for (const Target &t : m_targets) {
        const FieldDef &f = m_fields[t.field];
        const Value v = storedValue(f, row[size_t(t.field)]);
        if (v.isNull())
            continue; // the table's default, or the engine's key
        cols << quoted(t.column);
        marks << QStringLiteral("?");
        binds << v;
    }
    const QString sql = cols.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoted(m_table), cols.join(u','), marks.join(u','));
    Statement st(m_conn, sql);
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
    st.exec();
    if (!m_allColumnsKey && m_keys.size() == 1 && row[size_t(m_keys[0])].isNull()
        && m_fields[m_keys[0]].type == ValueType::Integer)
        row[size_t(m_keys[0])] = Value::integer(m_conn.lastInsertId());
}

bool DatasetWriter::updateRow(const std::vector<Value> &original, const std::vector<Value> &row)
{
    QStringList sets;
    QList<Value> binds;
    for (const Target &t : m_targets) {
        const Value &now = row[size_t(t.field)];
        if (now == original[size_t(t.field)])
            continue;
        sets << quoted(t.column) + QStringLiteral("=?");
        binds << storedValue(m_fields[t.field], now);
    }
    if (sets.isEmpty())
        return false;
    const QString sql = QStringLiteral("UPDATE %1 SET %2").arg(quoted(m_table), sets.join(u',')) + whereClause(original, &binds);
    Statement st(m_conn, sql);
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
    st.execOnRow();
    return true;
}

void DatasetWriter::deleteRow(const std::vector<Value> &original)
{
    QList<Value> binds;
    const QString sql = QStringLiteral("DELETE FROM %1").arg(quoted(m_table)) + whereClause(original, &binds);
    Statement st(m_conn, sql);
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
    st.execOnRow();
}

std::vector<std::pair<int, Value>> DatasetWriter::readBack(const std::vector<Value> &row)
{
    std::vector<std::pair<int, Value>> out;
    if (m_allColumnsKey)
        return out; // nothing identifies the row better than the values just written
    QStringList cols;
    for (const Target &t : m_targets)
        cols << quoted(t.column);
    QList<Value> binds;
    const QString sql = QStringLiteral("SELECT %1 FROM %2").arg(cols.join(u','), quoted(m_table)) + whereClause(row, &binds);
    Statement st(m_conn, sql);
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
    if (st.next()) {
        for (size_t c = 0; c < m_targets.size(); ++c) {
            const int f = m_targets[c].field;
            out.emplace_back(f, Column::engineValue(st.handle(), int(c), m_fields[f].type));
        }
    }
    return out;
}

} // namespace kvl
