// The error a template that cannot be read raises: names the report and the fault.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kvl {

class ReportTemplateError : public std::exception
{
public:
    ReportTemplateError(const QString &reportName, const QString &detail);
    const char *what() const noexcept override { return m_utf8.c_str(); }
    const QString &reportName() const { return m_reportName; }
    const QString &detail() const { return m_detail; }
    // The user's text: "报表［NAME］的报表文件已损坏，无法打印：DETAIL"
    const QString &message() const { return m_message; }

private:
    QString m_reportName;
    QString m_detail;
    QString m_message;
    std::string m_utf8;
};

} // namespace kvl
