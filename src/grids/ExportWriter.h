// The interface of the four export writers, and the row loop they share.
#pragma once

#include "ExportTable.h"

#include <memory>

namespace kvl {

class ExportSink;
enum class ExportFormat;

class ExportWriter
{
public:
    virtual ~ExportWriter() = default;
    // Writes the title row, every data row and the footer rows, in that order.
    virtual void write(const ExportTable &table, ExportSink &out, const ExportProgress &progress) = 0;

    static std::unique_ptr<ExportWriter> create(ExportFormat format);

protected:
    // Fetches every data row in order, each padded or cut to the column count,
    // hands it to 'emitRow' and reports progress.
    static void forEachRow(const ExportTable &table, const ExportProgress &progress,
                           const std::function<void(const ExportRow &cells)> &emitRow);
    // Cell i of a row, or an empty cell when the row is shorter (footer rows may be).
    static const ExportCell &cellAt(const ExportRow &row, qsizetype i);
};

} // namespace kvl
