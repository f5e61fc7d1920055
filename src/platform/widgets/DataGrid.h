// The data grid every list of the program is: a table view over one dataset,
// with the window's columns (caption, width, visibility, position and their
// defaults), sort marks set by title clicks, footer rows (text, count, sum),
// incremental search, the current row following the dataset both ways, row
// colours, fixed leading columns, in-place editing through the dataset, an
// ellipsis button on chosen columns and the notifications the windows handle.
// It reads the dataset's rows in place: no copy, uniform row heights.
#pragma once

#include "GridColumn.h"

#include <QPointer>
#include <QTableView>

#include <vector>

class QMenu;

namespace kvl {

class Dataset;
class DatasetModel;
class DataGridDelegate;
class DataGridFooter;
class DataGridHeader;
class DataGridModel;
class FrozenColumnsView;

class DataGrid : public QTableView
{
    Q_OBJECT

public:
    struct SortMark
    {
        int column = -1;        // grid column
        bool descending = false;
        bool operator==(const SortMark &o) const { return column == o.column && descending == o.descending; }
    };

    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    // ---- dataset -------------------------------------------------------------------
    void setDataset(Dataset *dataset);
    Dataset *dataset() const;
    DatasetModel *datasetModel() const;

    // ---- columns ---------------------------------------------------------------------
    // Columns are numbered in the order the window adds them, which is also their
    // default position. A grid without columns shows the dataset's visible fields.
    int addColumn(const QString &fieldName, const QString &title = {}, int defaultWidth = 0);
    void clearColumns();
    int gridColumnCount() const { return int(m_columns.size()); }
    const GridColumn &gridColumn(int column) const { return m_columns[size_t(column)]; }
    int columnOfField(const QString &fieldName) const;
    // The caption in the title: the column's own, or the field's caption.
    QString columnTitle(int column) const;
    QString fieldNameOf(int column) const { return gridColumn(column).fieldName; }
    bool isNumericColumn(int column) const;
    // The dataset field of a column, -1 while the dataset does not present it.
    int fieldIndexOf(int column) const;

    // Positions: the columns by position (hidden ones included), and moves.
    QList<int> columnOrder() const { return m_order; }
    void setColumnOrder(const QList<int> &order);
    int columnPosition(int column) const { return int(m_order.indexOf(column)); }
    // Takes the column out of the order and puts it in at `position` (clamped).
    void moveColumn(int column, int position);
    // The shown columns in display order.
    QList<int> visibleColumns() const;

    bool isColumnShown(int column) const { return gridColumn(column).visible; }
    void setColumnShown(int column, bool shown);
    // The width in pixels, the default width while none has been set.
    int columnWidthOf(int column) const;
    void setColumnWidthOf(int column, int width);
    void setColumnWidthToDefault(int column);
    int defaultColumnWidth(int column) const;
    // One width per column (0: the default width), applied at once.
    void setColumnWidths(const QList<int> &widths);
    // A whole layout at once: the order, and per column whether it shows and its width.
    void setColumnLayout(const QList<int> &order, const QList<bool> &shown, const QList<int> &widths);
    // Every column shown, at its default width and in its default position.
    void restoreDefaultLayout();

    void setColumnReadOnly(int column, bool readOnly);
    void setColumnEditButton(int column, bool button);
    bool columnEditButton(int column) const;
    void setColumnTextColour(int column, const QColor &colour);

    // The grid column shown in a model column (header section), -1 for none.
    int gridColumnOfSection(int section) const;
    int sectionOfColumn(int column) const;

    // ---- footer --------------------------------------------------------------------------
    void setFooterRowCount(int rows);
    int footerRowCount() const { return m_footerRows; }
    void setFooter(int column, FooterKind kind, const QString &text = {}, int row = 0);
    // The text a footer cell shows; counts and sums follow the dataset's rows.
    QString footerText(int row, int column) const;
    // A sum cell's exact value in ten-thousandths; false for other cells.
    bool footerSum(int row, int column, qint64 *units) const;
    QColor footerColour() const { return m_footerColour; }
    void setFooterColour(const QColor &colour);

    // ---- sort marks --------------------------------------------------------------------------
    // In marking order. A title click marks that column alone and toggles its
    // direction; Ctrl+click adds the column (or toggles it, then removes it).
    QList<SortMark> sortMarks() const { return m_sortMarks; }
    void setSortMarks(const QList<SortMark> &marks);
    void clearSortMarks() { setSortMarks({}); }
    // What a click on the title of header section `section` does.
    void clickTitle(int section, Qt::KeyboardModifiers modifiers = {});
    bool multiSortMarking() const { return m_multiSort; }
    void setMultiSortMarking(bool on) { m_multiSort = on; }

    // ---- editing, search, colours ----------------------------------------------------------
    bool isReadOnly() const { return m_readOnly; }
    // A cell editor is open.
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    // Ends the cell edit in progress, as leaving the cell does: the text goes into the row.
    // A text the field cannot take is refused with its message and the editor stays open
    // (false).
    bool commitEdit();
    void setReadOnly(bool readOnly);
    // Typed letters locate the current column's field (prefix, any letter case).
    QString searchText() const { return m_search; }
    const RowColourHook &rowColourHook() const { return m_rowColours; }
    void setRowColourHook(RowColourHook hook);
    int frozenColumns() const { return m_frozen; }
    // The header sections of the fixed leading columns, in display order.
    QList<int> frozenSections() const;
    void setFrozenColumns(int count);
    // The context menu the window sets; right-clicking a row makes it current first.
    QMenu *popupMenu() const;
    void setPopupMenu(QMenu *menu);

    // ---- the current cell --------------------------------------------------------------------
    int currentColumn() const;
    void setCurrentColumn(int column);
    // The display text of a column's cell in the dataset's current row.
    QString cellText(int column) const;

signals:
    void sortMarkingChanged();
    void editButtonClicked(int column);
    // Enter in the grid, also Enter that ends a cell's editing (after the value went in).
    void enterPressed();
    // The current cell left a column (before the dataset follows a change of row).
    void columnExited(int column);
    // The focus went from the grid (or its cell editor) to another control.
    void gridExited();
    void rowDoubleClicked();
    // Widths, positions or visibility changed (by the user or the program).
    void columnsChanged();

protected:
    void updateGeometries() override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &search) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void afterModelReset();
    void rebuildMapping();
    void applyColumns();
    void selectDatasetRow();
    void sectionResizedByUser(int section, int oldSize, int newSize);
    void sectionMovedByUser();
    void invalidateFooter();
    void computeSums() const;
    void refreshCurrentRow();
    int footerHeight() const;
    void snapBesideFrozen(int value);

    QPointer<Dataset> m_dataset;
    QMetaObject::Connection m_currentLink;
    DataGridModel *m_model = nullptr;
    DataGridHeader *m_titles;
    DataGridHeader *m_rowHeader;
    DataGridDelegate *m_delegate;
    DataGridFooter *m_footer;
    FrozenColumnsView *m_frozenView = nullptr;

    std::vector<GridColumn> m_columns;
    QList<int> m_order;
    bool m_autoColumns = false;
    std::vector<int> m_sectionOf;         // per grid column
    std::vector<int> m_columnOfSection;   // per model column
    bool m_applying = false;
    bool m_syncing = false;
    bool m_searching = false;

    int m_footerRows = 0;
    QColor m_footerColour;
    mutable bool m_sumsValid = false;
    mutable std::vector<qint64> m_sums;   // per grid column, ten-thousandths

    QList<SortMark> m_sortMarks;
    bool m_multiSort = true;
    bool m_readOnly = true;
    QString m_search;
    RowColourHook m_rowColours;
    int m_frozen = 0;
    int m_lastHorizontal = 0;
    bool m_snapping = false;
    QPointer<QMenu> m_popup;
};

} // namespace kvl
