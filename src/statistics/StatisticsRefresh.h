// The refresh of the two statistics windows, as their change handlers run it
// on every change of a date, a list or a filter text.
#pragma once

#include "GoodsStatsFilter.h"
#include "StatisticsQuery.h"
#include "UnsettledFilter.h"

namespace kvl {

class Dataset;

// The steps every statistics refresh takes on its dataset: wait cursor; freeze the
// views; remember the sort; close; set the statement and its parameters; open;
// sort again as before; resume the views and the cursor. Each guard is undone on
// every way out. A failure leaves the dataset closed (the grid empty) and the
// error goes on to the window.
void refreshStatistics(Dataset &ds, const StatisticsQuery &query);

// 未结帐统计: DataModKvl->DataTJ_ysk with `filter`; the names it looks up are
// made current first.
void refreshUnsettled(const UnsettledFilter &filter);

// 进出商品统计: DataModKvl->DataTJ_sp with `filter`, names likewise.
void refreshGoodsStats(const GoodsStatsFilter &filter);

} // namespace kvl
