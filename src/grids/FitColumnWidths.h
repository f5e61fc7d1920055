// Best-fit column widths: each column as wide as its widest text.
#pragma once

namespace kvl {

class DataGrid;

// Measures, in the grid's font, each column's first footer text, its title and
// the display text of every row; the width becomes the widest plus 4 pixels, or
// 500 when the widest is more than 500.
void FitColumnWidths(DataGrid &grid);

} // namespace kvl
