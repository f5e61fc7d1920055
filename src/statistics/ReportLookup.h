// Finding a template in DataReport by the name a window asks for, and the message
// when there is none; shared by the report run and the template write-back.
#pragma once

#include <QString>

namespace kvl {

class Dataset;

// "找不到［NAME］的报表文件！"
QString ReportNotFoundText(const QString &name);

// Moves to the first row, in the dataset's order, whose Name begins with `name`
// (letter case counts). An empty name finds nothing: every name begins with it.
bool LocateReport(Dataset &reports, const QString &name);

} // namespace kvl
