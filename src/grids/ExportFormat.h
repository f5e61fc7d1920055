// The four export formats, in the order of the save dialog's filter entries, and
// the rule that gives a chosen file name its extension.
#pragma once

#include <QString>
#include <optional>

namespace kvl {

enum class ExportFormat { Xls = 1, Rtf = 2, Txt = 3, Htm = 4 };

// The format of filter entry 1 to 4; none for any other entry.
std::optional<ExportFormat> exportFormatOfFilter(int filterIndex);

// "xls", "rtf", "txt" or "htm".
QString exportExtension(ExportFormat format);

// The name as typed when its last three characters are the extension (in any
// letter case), otherwise the name with "." and the extension appended.
QString exportFileName(const QString &chosenName, ExportFormat format);

} // namespace kvl
