// ExportGrid: the save dialog, the progress window, the writer, the question.
#include "ExportGrid.h"

#include "ExportError.h"
#include "ExportFormat.h"
#include "FileDialogs.h"
#include "GridExportTable.h"
#include "GridExporter.h"
#include "DataGrid.h"
#include "Messages.h"
#include "ProgramValues.h"
#include "ProgressScope.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace kvl {

void ExportGrid(const QString &suggestedName, DataGrid &grid)
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("数据导出为...");
    request.filter = QStringLiteral(
        "Excel表格 (*.xls)|*.XLS|Word文档 (*.rtf)|*.RTF|文本格式 (*.txt)|*.TXT|HTML网页 (*.htm)|*.HTM");
    request.filterIndex = 1;
    request.initialDir = LastExportDir;
    request.fileName = suggestedName;
    request.parent = grid.window();
    const FileDialogResult chosen = FileDialogs::run(request);
    if (!chosen.accepted)
        return;

    QString written;
    QString failure;
    {
        ProgressScope progress(QStringLiteral("正在导出数据，请稍候......"));
        LastExportDir = QFileInfo(chosen.file).absolutePath();
        const auto format = exportFormatOfFilter(chosen.filterIndex);
        if (!format)
            return;
        const QString fileName = exportFileName(chosen.file, *format);
        try {
            GridExporter::exportToFile(GridExportTable(grid, suggestedName), *format, fileName);
            written = fileName;
        } catch (const ExportError &e) {
            failure = e.message();
        }
    } // the progress window is gone before any box shows

    if (!failure.isEmpty()) {
        Messages::warning(failure, grid.window());
        return;
    }
    if (Messages::question(QStringLiteral("导出成功，现在打开它吗？"), grid.window()) == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(written));
}

} // namespace kvl
