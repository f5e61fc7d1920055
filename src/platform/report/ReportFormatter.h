// Display formats for printed values: the number language (",0.00;;#", "#.####",
// ",0.00##") and the date language ("yyyy/mm/dd", "yyyy-mm-dd"), those of the dataset's
// Formatter, so a report prints a value as the grid shows it.
#pragma once

#include "Value.h"

#include <QString>

namespace kvl::ReportFormatter {

// Formats a value; an empty format gives the value's plain text form.
QString format(const Value &value, const QString &format);

// True when the format is a date pattern rather than a number pattern.
bool isDateFormat(const QString &format);

// A date as the program's floating-point day count (days since 1899-12-30).
QDateTime fromDayCount(double days);
double toDayCount(const QDateTime &dt);

} // namespace kvl::ReportFormatter
