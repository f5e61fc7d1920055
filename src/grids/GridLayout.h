// Saved grid layouts: which columns a window's grid shows, their widths and
// their order, kept in table GridColSelect under the window's key.
#pragma once

#include <QString>

namespace kvl {

class DataGrid;

// Applies the layout saved under `key`; a key without rows is the default layout.
// Database errors are shown as "选列" errors; the grid keeps its columns then.
void LoadGridLayout(const QString &key, DataGrid &grid);

// The layout dialog TFMGridColSelect; on OK the layout is saved and applied.
void EditGridLayout(const QString &key, DataGrid &grid);

} // namespace kvl
