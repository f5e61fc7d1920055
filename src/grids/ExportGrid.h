// Export of a grid to a file the user chooses: .xls, .rtf, .txt or .htm.
#pragma once

#include <QString>

namespace kvl {

class DataGrid;

// Asks for the file (starting with `suggestedName` in the last export's folder),
// writes the grid's shown columns, all its rows and its footer, and offers to open
// the file. A file that cannot be written is reported and nothing is asked.
void ExportGrid(const QString &suggestedName, DataGrid &grid);

} // namespace kvl
