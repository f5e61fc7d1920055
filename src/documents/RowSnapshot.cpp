// Snapshots of dataset rows and their replay after a rolled-back save.
#include "RowSnapshot.h"

#include "Dataset.h"

#include <QHash>

namespace kvl {

RowSnapshot RowSnapshot::current(const Dataset &ds)
{
    RowSnapshot s;
    for (const FieldDef &f : ds.fields()) {
        if (f.isLookup() || f.readOnly)
            continue;
        s.m_fields << f.name;
        s.m_values.push_back(ds.value(f.name));
    }
    return s;
}

QList<RowSnapshot> RowSnapshot::all(Dataset &ds)
{
    QList<RowSnapshot> out;
    for (int i = 0; i < ds.recordCount(); ++i) {
        ds.moveTo(i);
        out << current(ds);
    }
    return out;
}

Value RowSnapshot::value(const QString &field) const
{
    const qsizetype i = m_fields.indexOf(field);
    return i < 0 ? Value() : m_values[size_t(i)];
}

void RowSnapshot::restoreInto(Dataset &ds, const QStringList &except) const
{
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (except.contains(m_fields[i]) || ds.fieldIndex(m_fields[i]) < 0)
            continue;
        if (ds.value(m_fields[i]) != m_values[size_t(i)])
            ds.setValue(m_fields[i], m_values[size_t(i)]);
    }
}

void ReplayRows(Dataset &ds, const QList<RowSnapshot> &rows, const QString &key)
{
    ds.requery();
    // An owner that starts editing on open may have begun an empty row.
    if (ds.state() != Dataset::State::Browse)
        ds.cancel();
    QHash<qint64, const RowSnapshot *> kept;
    for (const RowSnapshot &r : rows) {
        if (!r.value(key).isNull())
            kept.insert(r.value(key).toInt(), &r);
    }
    for (int i = ds.recordCount() - 1; i >= 0; --i) {
        ds.moveTo(i);
        const Value id = ds.value(key);
        const RowSnapshot *r = id.isNull() ? nullptr : kept.value(id.toInt());
        if (!r) {
            ds.deleteRecord();
            continue;
        }
        ds.edit();
        r->restoreInto(ds, {key});
        if (ds.modified())
            ds.post();
        else
            ds.cancel();
    }
    for (const RowSnapshot &r : rows) {
        if (!r.value(key).isNull() && ds.locate(key, r.value(key)))
            continue;
        ds.append();
        r.restoreInto(ds, {key});
        ds.post();
    }
}

} // namespace kvl
