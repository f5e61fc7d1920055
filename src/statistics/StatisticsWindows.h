// The side bar's statistics items: 未结帐统计 (tag 1) and 进出商品统计 (tag 2).
#pragma once

namespace kvl {

void RegisterStatisticsWindows();

} // namespace kvl
