// An in-memory table presented as a report source; a detail table filters its rows
// on a key of its master's current row, as a parameterised detail query would.
#pragma once

#include "ReportDataSource.h"

#include <QHash>
#include <QList>

namespace kvl::test {

class TableSource : public ReportDataSource
{
public:
    explicit TableSource(QStringList fields) : m_fields(std::move(fields)) {}

    // A table starts on its first row, as an opened dataset does.
    void addRow(const QList<Value> &row)
    {
        m_rows << row;
        if (!m_master)
            m_visible << int(m_rows.size()) - 1;
    }
    void setFormat(const QString &field, const QString &format) { m_formats.insert(field, format); }
    // Follow a master: only rows whose keyField equals the master's masterField show.
    void follow(const ReportDataSource *master, const QString &masterField, const QString &keyField)
    {
        m_master = master;
        m_masterField = masterField;
        m_keyField = keyField;
    }
    // Orders the rows by the fields' text, as the runner's sort text would (stable).
    void sortBy(const QStringList &fields)
    {
        QList<int> cols;
        for (const QString &f : fields)
            cols << column(f);
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](const QList<Value> &a, const QList<Value> &b) {
            for (int c : cols) {
                const int r = QString::compare(a[c].toString(), b[c].toString());
                if (r != 0)
                    return r < 0;
            }
            return false;
        });
        if (!m_master)
            first();
    }
    // Moves to the first row whose field equals the value, as Locate does.
    bool locate(const QString &field, const Value &v)
    {
        first();
        for (; !eof(); next())
            if (value(field) == v)
                return true;
        return false;
    }
    int rowCount() const { return int(m_rows.size()); }
    const QList<Value> &row(int i) const { return m_rows[i]; }
    int column(const QString &field) const { return int(m_fields.indexOf(field)); }

    QStringList fieldNames() const override { return m_fields; }
    void first() override
    {
        m_visible.clear();
        const int key = column(m_keyField);
        for (int i = 0; i < m_rows.size(); ++i) {
            if (!m_master || (key >= 0 && m_rows[i][key] == m_master->value(m_masterField)))
                m_visible << i;
        }
        m_pos = 0;
    }
    void next() override { ++m_pos; }
    bool eof() const override { return m_pos >= m_visible.size(); }
    Value value(const QString &field) const override
    {
        const int c = column(field);
        if (c < 0 || eof())
            return Value();
        return m_rows[m_visible[m_pos]].value(c);
    }
    QString displayFormat(const QString &field) const override { return m_formats.value(field); }

private:
    QStringList m_fields;
    QList<QList<Value>> m_rows;
    QHash<QString, QString> m_formats;
    QList<int> m_visible;
    int m_pos = 0;
    const ReportDataSource *m_master = nullptr;
    QString m_masterField, m_keyField;
};

} // namespace kvl::test
