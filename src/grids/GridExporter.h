// Writes an export table to the file the user chose, safely: the data goes to a
// temporary file beside it, which replaces the chosen name only when complete.
#pragma once

#include "ExportTable.h"

namespace kvl {

enum class ExportFormat;

class GridExporter
{
public:
    // Throws ExportError with the user's text when the file cannot be written; the
    // file under 'fileName' is then what it was before (or absent).
    static void exportToFile(const ExportTable &table, ExportFormat format, const QString &fileName,
                             const ExportProgress &progress = {});
};

} // namespace kvl
