// Purchases (进货, payables) are drawn in green text on the lists of documents.
#pragma once

#include "GridColumn.h"

#include <QString>

namespace kvl {

class DataGrid;

inline const QColor kPurchaseTextColour{0, 128, 0};

// The row colours of `grid`: green text where `kindField` of the row is "进货".
RowColourHook PurchasesInGreen(const DataGrid &grid, const QString &kindField);

} // namespace kvl
