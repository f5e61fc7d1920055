// The grid sort: a grid's sort marks become its dataset's in-memory sort.
#pragma once

#include <QString>

namespace kvl {

class DataGrid;

// "单号, 制单日期 DESC " for 单号 ascending then 制单日期 descending; empty without marks.
QString GridSortText(const DataGrid &grid);

// Sorts the grid's open dataset by the marked columns, in marking order, without
// a new query; no marks give the query's order back.
void ApplyGridSort(DataGrid &grid);

} // namespace kvl
