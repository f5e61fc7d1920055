// The shared row loop of the export writers and the choice of writer by format.
#include "ExportWriter.h"

#include "ExportFormat.h"
#include "HtmlWriter.h"
#include "RtfWriter.h"
#include "TextWriter.h"
#include "XlsWriter.h"

namespace kvl {

std::unique_ptr<ExportWriter> ExportWriter::create(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Xls: return std::make_unique<XlsWriter>();
    case ExportFormat::Rtf: return std::make_unique<RtfWriter>();
    case ExportFormat::Txt: return std::make_unique<TextWriter>();
    case ExportFormat::Htm: return std::make_unique<HtmlWriter>();
    }
    return nullptr;
}

void ExportWriter::forEachRow(const ExportTable &table, const ExportProgress &progress,
                              const std::function<void(const ExportRow &cells)> &emitRow)
{
    // Often enough for a progress window, rare enough to cost nothing.
    constexpr qint64 kProgressStep = 2048;
    const qsizetype columns = table.columns.size();
    ExportRow cells(columns);
    for (qint64 row = 0; row < table.rowCount; ++row) {
        if (table.fetchRow)
            table.fetchRow(row, cells);
        if (cells.size() != columns)
            cells.resize(columns);
        emitRow(cells);
        if (progress && (row + 1) % kProgressStep == 0)
            progress(row + 1, table.rowCount);
    }
    if (progress)
        progress(table.rowCount, table.rowCount);
}

const ExportCell &ExportWriter::cellAt(const ExportRow &row, qsizetype i)
{
    static const ExportCell empty;
    return i < row.size() ? row.at(i) : empty;
}

} // namespace kvl
