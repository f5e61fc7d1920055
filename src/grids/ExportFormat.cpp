// Export formats and the extension rule of the save dialog.
#include "ExportFormat.h"

namespace kvl {

std::optional<ExportFormat> exportFormatOfFilter(int filterIndex)
{
    if (filterIndex < 1 || filterIndex > 4)
        return std::nullopt;
    return ExportFormat(filterIndex);
}

QString exportExtension(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Xls: return QStringLiteral("xls");
    case ExportFormat::Rtf: return QStringLiteral("rtf");
    case ExportFormat::Txt: return QStringLiteral("txt");
    case ExportFormat::Htm: return QStringLiteral("htm");
    }
    return {};
}

QString exportFileName(const QString &chosenName, ExportFormat format)
{
    const QString ext = exportExtension(format);
    if (chosenName.right(3).compare(ext, Qt::CaseInsensitive) == 0)
        return chosenName;
    return chosenName + QLatin1Char('.') + ext;
}

} // namespace kvl
