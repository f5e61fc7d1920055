// What showing a report came to; the caller shows the message, if any.
#pragma once

#include <QString>

namespace kvl {

struct ReportOutcome
{
    enum class Status { Shown, NoData, BadTemplate };
    Status status = Status::Shown;
    QString message; // empty when shown

    // "报表［NAME］没有可以打印的数据！"
    static QString noDataMessage(const QString &reportName)
    {
        return QStringLiteral("报表［%1］没有可以打印的数据！").arg(reportName);
    }
};

} // namespace kvl
