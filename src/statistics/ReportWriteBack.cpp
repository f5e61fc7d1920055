// The template write-back.
#include "ReportWriteBack.h"

#include "DbErrorText.h"
#include "Messages.h"
#include "ProgramValues.h"
#include "ReportLookup.h"
#include "RunReport.h"
#include "datakvl.h"

namespace kvl {

void RMReport1SaveReportSetting(const QByteArray &templateBytes)
{
    if (!DataModKvl)
        return;
    Dataset &reports = DataModKvl->DataReport;
    const QString name = CurrentReportName.trimmed();
    try {
        if (!reports.isActive())
            reports.open();
        if (!LocateReport(reports, name)) {
            Messages::warning(ReportNotFoundText(name), ReportParent());
            return;
        }
        reports.edit();
        reports.setValue(QStringLiteral("Template"), Value::bytes(templateBytes));
        reports.post();
        reports.close();
    } catch (const DbError &e) {
        if (reports.state() == Dataset::State::Edit || reports.state() == Dataset::State::Insert)
            reports.cancel();
        Messages::warning(DbErrorText(e.message(), QStringLiteral("报表")), ReportParent());
    }
}

} // namespace kvl
