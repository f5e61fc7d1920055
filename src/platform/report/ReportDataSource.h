// The one view of a dataset the report engine needs: walk its rows and read fields.
#pragma once

#include "Value.h"

#include <QString>
#include <QStringList>

namespace kvl {

// A source presents rows in its current order and filter. A detail source follows
// its master: whenever the engine calls first() on it, it presents only the rows
// of the master's current row (a real dataset re-reads on every master move, an
// in-memory one filters on a key), so the engine needs no master/detail knowledge.
class ReportDataSource
{
public:
    virtual ~ReportDataSource() = default;

    virtual QStringList fieldNames() const = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // The current row's value; null for an unknown field or when there is no row.
    virtual Value value(const QString &field) const = 0;
    // The field's own display format, used when a template object gives none.
    virtual QString displayFormat(const QString &field) const
    {
        Q_UNUSED(field);
        return QString();
    }
};

} // namespace kvl
