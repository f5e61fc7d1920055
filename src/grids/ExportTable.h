// The neutral table a grid hands to the export writers: its title, the visible
// columns in display order, a row source read once from first to last, and the
// footer rows. Rows are fetched one at a time, so a large dataset is never copied.
#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace kvl {

struct ExportColumn
{
    QString title;
    // A numeric column gives its cells a value, written as a number where the
    // format has numbers (the spreadsheet) and right-aligned elsewhere.
    bool numeric = false;
    Qt::Alignment alignment = {};   // none: numbers right, text left

    int width = 0;          // pixels on screen; 0 for the writers' default
    QString numberFormat;   // spreadsheet number format code, e.g. "#,##0.00"; empty for General
};

struct ExportCell
{
    QString text;           // the display text, as the grid shows it
    bool hasNumber = false;
    qint64 units = 0;       // the value in ten-thousandths, exact for money

    static ExportCell textCell(const QString &text) { return {text, false, 0}; }
    static ExportCell numberCell(const QString &text, qint64 tenThousandths) { return {text, true, tenThousandths}; }
};

using ExportRow = QList<ExportCell>;

// Fills cells (one per column, in display order) for data row 'row'. The list
// comes with one entry per column and is reused from row to row; rows are asked
// for in order from 0 to rowCount - 1.
using ExportRowFetch = std::function<void(qint64 row, ExportRow &cells)>;

// Called now and then while rows are written, and once when all are.
using ExportProgress = std::function<void(qint64 rowsDone, qint64 rowCount)>;

struct ExportTable
{
    QString title;          // the window's title; names the worksheet
    QList<ExportColumn> columns;
    qint64 rowCount = 0;
    ExportRowFetch fetchRow;
    QList<ExportRow> footerRows;

    // A table whose rows are already in memory (small lists and tests).
    void setRows(QList<ExportRow> rows);
};

} // namespace kvl
