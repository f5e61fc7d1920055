// The write path of a dataset: INSERT, UPDATE and DELETE of one row in the
// dataset's update table, finding the row by its key, and the read-back of a
// written row. Only the update table's own columns are written, and a text
// left empty is written as '' (never NULL): that rule lives here alone.
#pragma once

#include "FieldDef.h"
#include "Value.h"

#include <QList>
#include <QStringList>

#include <utility>
#include <vector>

namespace kvl {

class Connection;

class DatasetWriter
{
public:
    // `keyFields` are dataset field names; empty takes the table's primary key,
    // and a table without one is written by the values of all its columns as read.
    // Throws DbError when no field of the dataset comes from `table`.
    DatasetWriter(Connection &conn, const QString &table, const QList<FieldDef> &fields, const QStringList &keyFields);

    const QString &table() const { return m_table; }
    // Dataset field numbers of the key, in order.
    const std::vector<int> &keyFields() const { return m_keys; }
    bool writes(int field) const;

    // Rows are indexed by dataset field number. An engine-assigned key comes back in `row`.
    void insertRow(std::vector<Value> &row);
    // Writes the fields that differ from `original`; false when none did (nothing written).
    // A row no longer found gives the engine's "row changed" error.
    bool updateRow(const std::vector<Value> &original, const std::vector<Value> &row);
    void deleteRow(const std::vector<Value> &original);
    // The written fields as the table now holds them, found by the row's key.
    std::vector<std::pair<int, Value>> readBack(const std::vector<Value> &row);

    // The value written for a field: a text left empty becomes ''.
    static Value storedValue(const FieldDef &field, const Value &v);

private:
    struct Target
    {
        int field;
        QString column;
    };
    QString whereClause(const std::vector<Value> &original, QList<Value> *binds) const;

    Connection &m_conn;
    QString m_table;
    QList<FieldDef> m_fields;
    std::vector<Target> m_targets;
    std::vector<int> m_keys;
    bool m_allColumnsKey = false;
};

} // namespace kvl
