// The green of purchases.
#include "PurchaseRows.h"

#include "DataGrid.h"
#include "Dataset.h"

namespace kvl {

RowColourHook PurchasesInGreen(const DataGrid &grid, const QString &kindField)
{
    return [&grid, kindField](int row) {
        RowColours c;
        const Dataset *d = grid.dataset();
        if (!d)
            return c;
        const int f = d->fieldIndex(kindField);
        if (f >= 0 && d->valueAt(row, f).toString() == QStringLiteral("进货"))
            c.text = kPurchaseTextColour;
        return c;
    };
}

} // namespace kvl
