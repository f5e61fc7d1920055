// FitColumnWidths: every cell measured once; widths cached per distinct text,
// so long lists of repeated names and dates cost one measurement per text.
#include "FitColumnWidths.h"

#include "DataGrid.h"
#include "Dataset.h"
#include "WaitCursor.h"

#include <QFontMetrics>
#include <QHash>

namespace kvl {

namespace {

constexpr int kWidestColumn = 500;
constexpr int kMargin = 4;

} // namespace

void FitColumnWidths(DataGrid &grid)
{
    WaitCursor wait;
    const QFontMetrics fm(grid.font());
    Dataset *ds = grid.dataset();
    // The rows are read in place by position; the current row never moves, so
    // neither the dataset nor its details need freezing.
    const bool rows = ds && ds->isActive();
    QList<int> widths;
    for (int c = 0; c < grid.gridColumnCount(); ++c) {
        int w = fm.horizontalAdvance(grid.footerRowCount() > 0 ? grid.footerText(0, c) : QString());
        w = qMax(w, fm.horizontalAdvance(grid.columnTitle(c)));
        const int field = rows ? grid.fieldIndexOf(c) : -1;
        if (field >= 0) {
            QHash<QString, int> measured;
            const int count = ds->recordCount();
            for (int r = 0; r < count; ++r) {
                const QString text = ds->displayTextAt(r, field);
                auto it = measured.constFind(text);
                if (it == measured.constEnd())
                    it = measured.insert(text, fm.horizontalAdvance(text));
                w = qMax(w, it.value());
            }
        }
        widths << (w > kWidestColumn ? kWidestColumn : w + kMargin);
    }
    grid.setColumnWidths(widths);
}

} // namespace kvl
