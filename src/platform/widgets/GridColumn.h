// One column of a data grid as the window defines it, with its footer cells,
// and the per-row colour hook the windows that colour rows give a grid.
#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <functional>

namespace kvl {

// What one footer cell shows: nothing, a fixed text, the number of rows, or the
// sum of the column formatted with the column's display format.
enum class FooterKind { None, Text, Count, Sum };

struct FooterCell
{
    FooterKind kind = FooterKind::None;
    QString text;
};

struct GridColumn
{
    QString fieldName;
    QString title;              // the header's caption; empty: the field's caption
    int width = 0;              // pixels; 0 until the column first shows
    int defaultWidth = 0;       // 0: derived from the field and the title
    bool visible = true;
    int defaultPosition = 0;    // the order in which the window defined the columns
    bool readOnly = false;      // besides the field's own read-only flag
    bool editButton = false;    // an ellipsis button in the current row's cell
    QColor textColour;          // invalid: the grid's text colour
    QList<FooterCell> footer;   // one per footer row (missing entries show nothing)
};

// Colours of one dataset row; an invalid colour keeps the grid's own.
struct RowColours
{
    QColor background;
    QColor text;
};

// Given a row index of the dataset's current order.
using RowColourHook = std::function<RowColours(int row)>;

} // namespace kvl
