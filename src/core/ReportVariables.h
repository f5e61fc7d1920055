// The report variables every template may print ("公司名称", "ShowMX", "起始日期",
// "截止日期", "单位名"): one program-wide set that windows fill before they print and
// that keeps each value until it is set again.
#pragma once

#include "Value.h"

#include <QDate>
#include <QHash>
#include <QString>

namespace kvl {

inline QHash<QString, Value> ReportVars;

// Dates go to the templates as a floating-point day count (days since 1899-12-30),
// the form the date variables have always had.
inline Value ReportDayCount(const QDate &date)
{
    return date.isValid() ? Value::real(double(QDate(1899, 12, 30).daysTo(date))) : Value();
}

} // namespace kvl
