// The damaged-template error.
#include "ReportTemplateError.h"

namespace kvl {

ReportTemplateError::ReportTemplateError(const QString &reportName, const QString &detail)
    : m_reportName(reportName)
    , m_detail(detail)
    , m_message(QStringLiteral("报表［%1］的报表文件已损坏，无法打印：%2").arg(reportName, detail))
    , m_utf8(m_message.toStdString())
{
}

} // namespace kvl
