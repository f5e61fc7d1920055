// The export's file handling: QSaveFile writes beside the target and renames over
// it on commit, so a failure at any point leaves no half-written file behind.
#include "GridExporter.h"

#include "ExportError.h"
#include "ExportFormat.h"
#include "ExportSink.h"
#include "ExportWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace kvl {

void GridExporter::exportToFile(const ExportTable &table, ExportFormat format, const QString &fileName,
                                const ExportProgress &progress)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    if (QFileInfo(fileName).isDir())
        throw ExportError(QStringLiteral("无法创建文件“%1”：已有同名的文件夹。").arg(shown));

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(QStringLiteral("无法创建文件“%1”：%2").arg(shown, file.errorString()));

    // Leaving by an exception destroys the QSaveFile uncommitted, which removes the temporary file.
    ExportSink sink(&file, shown);
    ExportWriter::create(format)->write(table, sink, progress);
    sink.flush();
    if (!file.commit())
        throw ExportError(QStringLiteral("无法保存文件“%1”：%2").arg(shown, file.errorString()));
}

} // namespace kvl
