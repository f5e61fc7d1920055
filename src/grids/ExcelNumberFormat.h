// The spreadsheet number format that shows a number as a field's display format
// does, for the grid to put into ExportColumn::numberFormat.
#pragma once

#include <QString>

namespace kvl {

// ",0.00" -> "#,##0.00", ",0.00;;#" -> "#,##0.00;-#,##0.00;", ",0.00##" -> "#,##0.00##".
// Empty (General) for formats a spreadsheet cannot show the same way, such as
// "#.####", whose point vanishes when no decimals follow, or any with literal text.
QString excelNumberFormat(const QString &displayFormat);

} // namespace kvl
