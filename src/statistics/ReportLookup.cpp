// The prefix search in the template table.
#include "ReportLookup.h"

#include "Dataset.h"

namespace kvl {

QString ReportNotFoundText(const QString &name)
{
    return QStringLiteral("找不到［") + name + QStringLiteral("］的报表文件！");
}

bool LocateReport(Dataset &reports, const QString &name)
{
    if (name.isEmpty())
        return false;
    return reports.locate(QStringLiteral("Name"), Value(name), Dataset::PartialKey);
}

} // namespace kvl
