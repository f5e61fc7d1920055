// A grid as the export writers read it: its shown columns in display order, its
// dataset's rows in the current sort and filter, read in place, and its footer rows.
#pragma once

#include "ExportTable.h"

namespace kvl {

class DataGrid;

// The table reads the grid's dataset while it is written, so the grid and its
// dataset must outlive it unchanged.
ExportTable GridExportTable(const DataGrid &grid, const QString &title);

} // namespace kvl
