// The save-settings event of the report preview: a template whose page setup or print
// offsets the user changed goes back into its row of table report.
#pragma once

#include <QByteArray>

namespace kvl {

// Writes the bytes into Template of the first DataReport row whose Name begins with
// CurrentReportName, then closes DataReport. No such row: the not-found message and
// nothing written. A failed write shows DbErrorText and leaves the row as it was.
void RMReport1SaveReportSetting(const QByteArray &templateBytes);

} // namespace kvl
