// GridExportTable: display texts as the grid shows them; numeric fields carry
// their exact value in ten-thousandths, so the spreadsheet gets numbers.
#include "GridExportTable.h"

#include "DataGrid.h"
#include "Dataset.h"
#include "ExcelNumberFormat.h"
#include "Formatter.h"

#include <memory>

namespace kvl {

ExportTable GridExportTable(const DataGrid &grid, const QString &title)
{
    ExportTable t;
    t.title = title;
    Dataset *ds = grid.dataset();
    const bool open = ds && ds->isActive();
    struct Source
    {
        int field = -1;
        bool numeric = false;
    };
    auto sources = std::make_shared<QList<Source>>();
    const QList<int> shown = grid.visibleColumns();
    for (int c : shown) {
        ExportColumn col;
        col.title = grid.columnTitle(c);
        col.width = grid.columnWidthOf(c);
        Source s;
        s.field = open ? grid.fieldIndexOf(c) : -1;
        if (s.field >= 0) {
            const FieldDef &f = ds->fields()[s.field];
            s.numeric = f.isNumeric();
            col.numeric = s.numeric;
            col.numberFormat = excelNumberFormat(f.currency ? Formatter::currencyFormat() : f.displayFormat);
        }
        t.columns << col;
        *sources << s;
    }
    t.rowCount = open ? ds->recordCount() : 0;
    t.fetchRow = [ds, sources](qint64 row, ExportRow &cells) {
        for (int i = 0; i < sources->size(); ++i) {
            const Source &s = sources->at(i);
            ExportCell &cell = cells[i];
            if (s.field < 0) {
                cell = ExportCell::textCell(QString());
                continue;
            }
            cell.text = ds->displayTextAt(int(row), s.field);
            cell.hasNumber = false;
            cell.units = 0;
            if (s.numeric) {
                const Value v = ds->valueAt(int(row), s.field);
                if (!v.isNull()) {
                    cell.hasNumber = true;
                    cell.units = v.moneyUnits();
                }
            }
        }
    };
    for (int r = 0; r < grid.footerRowCount(); ++r) {
        ExportRow footer;
        for (int c : shown) {
            qint64 units = 0;
            const QString text = grid.footerText(r, c);
            if (grid.footerSum(r, c, &units) && grid.isNumericColumn(c))
                footer << ExportCell::numberCell(text, units);
            else
                footer << ExportCell::textCell(text);
        }
        t.footerRows << footer;
    }
    return t;
}

} // namespace kvl
