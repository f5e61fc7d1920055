// ApplyGridSort and the sort text it builds from the marks.
#include "GridSort.h"

#include "DataGrid.h"
#include "Dataset.h"
#include "DbError.h"
#include "Messages.h"

namespace kvl {

QString GridSortText(const DataGrid &grid)
{
    QString s;
    for (const DataGrid::SortMark &m : grid.sortMarks()) {
        s += grid.fieldNameOf(m.column);
        s += m.descending ? QStringLiteral(" DESC , ") : QStringLiteral(", ");
    }
    // The last separator's two characters go; after " DESC , " one blank trails.
    if (!s.isEmpty())
        s.chop(2);
    return s;
}

void ApplyGridSort(DataGrid &grid)
{
    Dataset *ds = grid.dataset();
    if (!ds || !ds->isActive())
        return;
    try {
        ds->setSortText(GridSortText(grid));
    } catch (const DbError &e) {
        // Called from the grid's notification: an error must not leave through the event loop.
        Messages::warning(e.message(), &grid);
    }
}

} // namespace kvl
