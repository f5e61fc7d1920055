// Rows held in memory as a row source.
#include "ExportTable.h"

#include <memory>

namespace kvl {

void ExportTable::setRows(QList<ExportRow> rows)
{
    auto held = std::make_shared<const QList<ExportRow>>(std::move(rows));
    rowCount = held->size();
    fetchRow = [held](qint64 row, ExportRow &cells) { cells = held->at(row); };
}

} // namespace kvl
