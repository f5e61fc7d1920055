// The writable values of dataset rows, taken before a save and put back when
// its transaction rolls back, so the datasets show what the user had typed.
#pragma once

#include "Value.h"

#include <QList>
#include <QString>
#include <vector>

namespace kvl {

class Dataset;

class RowSnapshot
{
public:
    // The current row (edit buffer included) of `ds`, fields of its update table only.
    static RowSnapshot current(const Dataset &ds);
    // Every row of `ds` in its current order.
    static QList<RowSnapshot> all(Dataset &ds);

    Value value(const QString &field) const;
    bool has(const QString &field) const { return m_fields.contains(field); }
    // Writes the values into the current row of `ds` (which must be editing), skipping `except`.
    void restoreInto(Dataset &ds, const QStringList &except = {}) const;

private:
    QStringList m_fields;
    std::vector<Value> m_values;
};

// After a rollback undid rows a batch dataset had applied: re-reads `ds` and
// makes its pending changes those that lead from the stored rows to `rows`
// again (matched by `key`).
void ReplayRows(Dataset &ds, const QList<RowSnapshot> &rows, const QString &key);

} // namespace kvl
