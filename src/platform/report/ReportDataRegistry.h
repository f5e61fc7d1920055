// The named data links a template may read, and the caller's report variables.
#pragma once

#include "ReportDataSource.h"
#include "Value.h"

#include <QHash>
#include <QString>

namespace kvl {

// Variables keep whatever type the caller set; dates may be a date-time value or a
// floating-point day count (days since 1899-12-30, as the program's dates count).
using ReportVariables = QHash<QString, Value>;

// Maps link names (RmSfk, RmKcmx, ...) to sources. Sources are borrowed: the data
// module owns its datasets for the whole run.
class ReportDataRegistry
{
public:
    void add(const QString &link, ReportDataSource *source) { m_sources.insert(link, source); }
    void remove(const QString &link) { m_sources.remove(link); }
    ReportDataSource *source(const QString &link) const { return m_sources.value(link, nullptr); }
    QStringList links() const { return m_sources.keys(); }

private:
    QHash<QString, ReportDataSource *> m_sources;
};

} // namespace kvl
