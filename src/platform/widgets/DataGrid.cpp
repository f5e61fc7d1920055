// DataGrid: the columns, sort marks, footer, search, current-row following and
// notifications over the dataset's model.
#include "DataGrid.h"

#include "DataGridDelegate.h"
#include "DataGridFooter.h"
#include "DataGridHeader.h"
#include "DataGridModel.h"
#include "Dataset.h"
#include "DbError.h"
#include "Formatter.h"
#include "FrozenColumnsView.h"
#include "Messages.h"

#include <QApplication>
#include <algorithm>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

namespace kvl {

DataGrid::DataGrid(QWidget *parent)
    : QTableView(parent),
      m_titles(new DataGridHeader(Qt::Horizontal, this)),
      m_rowHeader(new DataGridHeader(Qt::Vertical, this)),
      m_delegate(new DataGridDelegate(this)),
      m_footer(new DataGridFooter(this)),
      m_footerColour(QApplication::palette().color(QPalette::ToolTipBase))
{
    setHorizontalHeader(m_titles);
    setVerticalHeader(m_rowHeader);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setSortingEnabled(false);
    setAlternatingRowColors(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    // Uniform rows: the row header never measures a row, whatever the row count.
    const int rowHeight = fontMetrics().height() + 6;
    m_rowHeader->setSectionResizeMode(QHeaderView::Fixed);
    m_rowHeader->setMinimumSectionSize(rowHeight);
    m_rowHeader->setDefaultSectionSize(rowHeight);
    m_rowHeader->setFixedWidth(14);
    m_rowHeader->setHighlightSections(false);

    m_titles->setSectionsClickable(true);
    m_titles->setSectionsMovable(true);
    m_titles->setHighlightSections(false);
    m_titles->setStretchLastSection(false);
    m_titles->setSectionResizeMode(QHeaderView::Interactive);
    m_titles->setDefaultAlignment(Qt::AlignCenter);
    m_titles->setMinimumSectionSize(8);
    connect(m_titles, &QHeaderView::sectionClicked, this,
            [this](int section) { clickTitle(section, m_titles->pressModifiers()); });
    connect(m_titles, &QHeaderView::sectionResized, this, &DataGrid::sectionResizedByUser);
    connect(m_titles, &QHeaderView::sectionMoved, this, [this] { sectionMovedByUser(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_footer, qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &DataGrid::snapBesideFrozen);
}

DataGrid::~DataGrid() = default;

// ---- dataset ----------------------------------------------------------------------

void DataGrid::setDataset(Dataset *dataset)
{
    DataGridModel *old = m_model;
    disconnect(m_currentLink);
    m_dataset = dataset;
    m_model = dataset ? new DataGridModel(dataset, this) : nullptr;
    setModel(m_model);
    delete old;
    if (m_model) {
        connect(m_model, &QAbstractItemModel::modelReset, this, &DataGrid::afterModelReset);
        connect(m_model, &QAbstractItemModel::dataChanged, this, &DataGrid::invalidateFooter);
        connect(m_model, &QAbstractItemModel::rowsInserted, this, &DataGrid::invalidateFooter);
        connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DataGrid::invalidateFooter);
        m_currentLink = connect(dataset, &Dataset::currentChanged, this, [this] {
            if (!m_syncing)
                selectDatasetRow();
        });
    }
    if (m_frozenView)
        m_frozenView->attach();
    afterModelReset();
}

Dataset *DataGrid::dataset() const
{
    return m_dataset.data();
}

DatasetModel *DataGrid::datasetModel() const
{
    return m_model;
}

void DataGrid::afterModelReset()
{
    if (m_autoColumns || (m_columns.empty() && m_dataset && m_dataset->fieldCount() > 0)) {
        // A grid the window gave no columns follows the dataset's visible fields.
        m_autoColumns = true;
        QStringList names;
        for (const FieldDef &f : m_dataset->fields())
            if (f.visible)
                names << f.name;
        QStringList have;
        for (const GridColumn &c : m_columns)
            have << c.fieldName;
        if (names != have && m_dataset->fieldCount() > 0) {
            m_columns.clear();
            m_order.clear();
            for (const QString &n : names) {
                GridColumn c;
                c.fieldName = n;
                c.defaultPosition = int(m_columns.size());
                m_order << int(m_columns.size());
                m_columns.push_back(c);
            }
        }
    }
    invalidateFooter();
    applyColumns();
    selectDatasetRow();
}

// ---- columns ------------------------------------------------------------------------

int DataGrid::addColumn(const QString &fieldName, const QString &title, int defaultWidth)
{
    if (m_autoColumns) {
        m_autoColumns = false;
        m_columns.clear();
        m_order.clear();
    }
    GridColumn c;
    c.fieldName = fieldName;
    c.title = title;
    c.defaultWidth = defaultWidth;
    c.defaultPosition = int(m_columns.size());
    c.footer.resize(m_footerRows);
    m_order << int(m_columns.size());
    m_columns.push_back(c);
    applyColumns();
    return int(m_columns.size()) - 1;
}

void DataGrid::clearColumns()
{
    m_columns.clear();
    m_order.clear();
    m_sortMarks.clear();
    m_autoColumns = false;
    applyColumns();
}

int DataGrid::columnOfField(const QString &fieldName) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int DataGrid::fieldIndexOf(int column) const
{
    return m_dataset ? m_dataset->fieldIndex(gridColumn(column).fieldName) : -1;
}

QString DataGrid::columnTitle(int column) const
{
    const GridColumn &c = gridColumn(column);
    if (!c.title.isEmpty())
        return c.title;
    if (m_dataset) {
        const int f = m_dataset->fieldIndex(c.fieldName);
        if (f >= 0)
            return m_dataset->fields()[f].caption();
        for (const FieldDef &d : m_dataset->fieldDefs())
            if (d.name.compare(c.fieldName, Qt::CaseInsensitive) == 0)
                return d.caption();
    }
    return c.fieldName;
}

bool DataGrid::isNumericColumn(int column) const
{
    const int f = fieldIndexOf(column);
    return f >= 0 && m_dataset->fields()[f].isNumeric();
}

void DataGrid::setColumnOrder(const QList<int> &order)
{
    QList<int> next;
    for (int c : order)
        if (c >= 0 && c < gridColumnCount() && !next.contains(c))
            next << c;
    for (int c : m_order)
        if (!next.contains(c))
            next << c;
    m_order = next;
    applyColumns();
    emit columnsChanged();
}

void DataGrid::moveColumn(int column, int position)
{
    QList<int> order = m_order;
    order.removeAll(column);
    order.insert(qBound(0, position, int(order.size())), column);
    m_order = order;
    applyColumns();
    emit columnsChanged();
}

QList<int> DataGrid::visibleColumns() const
{
    QList<int> r;
    for (int c : m_order)
        if (m_columns[size_t(c)].visible)
            r << c;
    return r;
}

void DataGrid::setColumnShown(int column, bool shown)
{
    m_columns[size_t(column)].visible = shown;
    applyColumns();
    emit columnsChanged();
}

int DataGrid::columnWidthOf(int column) const
{
    const int w = gridColumn(column).width;
    return w > 0 ? w : defaultColumnWidth(column);
}

void DataGrid::setColumnWidthOf(int column, int width)
{
    m_columns[size_t(column)].width = qMax(1, width);
    applyColumns();
    emit columnsChanged();
}

void DataGrid::setColumnWidthToDefault(int column)
{
    m_columns[size_t(column)].width = 0;
    applyColumns();
    emit columnsChanged();
}

int DataGrid::defaultColumnWidth(int column) const
{
    const GridColumn &c = gridColumn(column);
    if (c.defaultWidth > 0)
        return c.defaultWidth;
    const QFontMetrics fm = fontMetrics();
    // Room for the title and its sort arrow.
    int w = fm.horizontalAdvance(columnTitle(column)) + 24;
    const int f = fieldIndexOf(column);
    if (f >= 0) {
        const FieldDef &d = m_dataset->fields()[f];
        const int digit = fm.horizontalAdvance(QLatin1Char('0'));
        int content = 0;
        if (d.displayWidth > 0)
            content = d.displayWidth * digit;
        else if (d.type == ValueType::Money || d.type == ValueType::Float)
            content = fm.horizontalAdvance(QStringLiteral("00,000,000.00"));
        else if (d.type == ValueType::DateTime)
            content = fm.horizontalAdvance(QStringLiteral("0000/00/00"));
        else if (d.type == ValueType::Integer || d.type == ValueType::Boolean)
            content = 6 * digit;
        else if (d.size > 0)
            content = qMin(d.size, 24) * digit;
        w = qMax(w, content + 8);
    }
    return qMin(w, 320);
}

void DataGrid::setColumnWidths(const QList<int> &widths)
{
    for (int c = 0; c < gridColumnCount() && c < widths.size(); ++c)
        m_columns[size_t(c)].width = qMax(0, widths[c]);
    applyColumns();
    emit columnsChanged();
}

void DataGrid::setColumnLayout(const QList<int> &order, const QList<bool> &shown, const QList<int> &widths)
{
    for (int c = 0; c < gridColumnCount(); ++c) {
        if (c < shown.size())
            m_columns[size_t(c)].visible = shown[c];
        if (c < widths.size())
            m_columns[size_t(c)].width = qMax(0, widths[c]);
    }
    setColumnOrder(order);
}

void DataGrid::restoreDefaultLayout()
{
    QList<int> order;
    for (int i = 0; i < gridColumnCount(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return m_columns[size_t(a)].defaultPosition < m_columns[size_t(b)].defaultPosition;
    });
    m_order = order;
    for (GridColumn &c : m_columns) {
        c.visible = true;
        c.width = 0;
    }
    applyColumns();
    emit columnsChanged();
}

void DataGrid::setColumnReadOnly(int column, bool readOnly)
{
    m_columns[size_t(column)].readOnly = readOnly;
}

void DataGrid::setColumnEditButton(int column, bool button)
{
    m_columns[size_t(column)].editButton = button;
    viewport()->update();
}

bool DataGrid::columnEditButton(int column) const
{
    return column >= 0 && size_t(column) < m_columns.size() && m_columns[size_t(column)].editButton;
}

void DataGrid::setColumnTextColour(int column, const QColor &colour)
{
    m_columns[size_t(column)].textColour = colour;
    viewport()->update();
}

int DataGrid::gridColumnOfSection(int section) const
{
    return section >= 0 && section < int(m_columnOfSection.size()) ? m_columnOfSection[size_t(section)] : -1;
}

int DataGrid::sectionOfColumn(int column) const
{
    return column >= 0 && column < int(m_sectionOf.size()) ? m_sectionOf[size_t(column)] : -1;
}

void DataGrid::rebuildMapping()
{
    m_sectionOf.assign(m_columns.size(), -1);
    const int sections = m_model ? m_model->columnCount() : 0;
    m_columnOfSection.assign(size_t(sections), -1);
    for (size_t c = 0; c < m_columns.size(); ++c) {
        const int s = m_model ? m_model->columnOf(m_columns[c].fieldName) : -1;
        if (s >= 0 && m_columnOfSection[size_t(s)] < 0) {
            m_sectionOf[c] = s;
            m_columnOfSection[size_t(s)] = int(c);
        }
    }
}

void DataGrid::applyColumns()
{
    rebuildMapping();
    m_applying = true;
    QHeaderView *h = horizontalHeader();
    if (h->count() == int(m_columnOfSection.size())) {
        int visual = 0;
        for (int c : m_order) {
            const int s = m_sectionOf[size_t(c)];
            if (s < 0)
                continue;
            const int from = h->visualIndex(s);
            if (from != visual)
                h->moveSection(from, visual);
            ++visual;
        }
        for (int s = 0; s < int(m_columnOfSection.size()); ++s) {
            const int c = m_columnOfSection[size_t(s)];
            const bool shown = c >= 0 && m_columns[size_t(c)].visible;
            h->setSectionHidden(s, !shown);
            if (shown)
                h->resizeSection(s, columnWidthOf(c));
        }
    }
    m_applying = false;
    if (m_frozenView)
        m_frozenView->syncColumns();
    m_footer->update();
    updateGeometries();
}

void DataGrid::sectionResizedByUser(int section, int, int newSize)
{
    if (!m_applying) {
        const int c = gridColumnOfSection(section);
        if (c >= 0 && newSize > 0 && !horizontalHeader()->isSectionHidden(section)) {
            m_columns[size_t(c)].width = newSize;
            if (m_frozenView)
                m_frozenView->syncColumns();
            emit columnsChanged();
        }
    }
    m_footer->update();
}

void DataGrid::sectionMovedByUser()
{
    if (m_applying)
        return;
    // The header's visual order now holds the shown and hidden mapped columns;
    // columns the dataset does not present keep their places after them.
    QList<int> order;
    const QHeaderView *h = horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int c = gridColumnOfSection(h->logicalIndex(v));
        if (c >= 0)
            order << c;
    }
    for (int c : m_order)
        if (!order.contains(c))
            order << c;
    m_order = order;
    if (m_frozenView)
        m_frozenView->syncColumns();
    m_footer->update();
    emit columnsChanged();
}

// ---- footer ---------------------------------------------------------------------------

void DataGrid::setFooterRowCount(int rows)
{
    // Cells beyond the shown rows keep their definitions, so a picker that hides
    // the footer and shows it again gets the same footer back.
    m_footerRows = qMax(0, rows);
    for (GridColumn &c : m_columns)
        if (c.footer.size() < m_footerRows)
            c.footer.resize(m_footerRows);
    updateGeometries();
    m_footer->update();
}

void DataGrid::setFooter(int column, FooterKind kind, const QString &text, int row)
{
    if (row >= m_footerRows)
        setFooterRowCount(row + 1);
    GridColumn &c = m_columns[size_t(column)];
    if (c.footer.size() < m_footerRows)
        c.footer.resize(m_footerRows);
    c.footer[row] = FooterCell{kind, text};
    invalidateFooter();
}

void DataGrid::setFooterColour(const QColor &colour)
{
    m_footerColour = colour;
    m_footer->update();
}

void DataGrid::invalidateFooter()
{
    m_sumsValid = false;
    m_footer->update();
}

void DataGrid::computeSums() const
{
    m_sums.assign(m_columns.size(), 0);
    m_sumsValid = true;
    if (!m_dataset || !m_dataset->isActive())
        return;
    std::vector<std::pair<size_t, int>> summed; // grid column, field
    for (size_t c = 0; c < m_columns.size(); ++c) {
        bool wanted = false;
        for (const FooterCell &f : m_columns[c].footer)
            wanted = wanted || f.kind == FooterKind::Sum;
        const int field = wanted ? m_dataset->fieldIndex(m_columns[c].fieldName) : -1;
        if (field >= 0)
            summed.emplace_back(c, field);
    }
    if (summed.empty())
        return;
    const int rows = m_dataset->recordCount();
    for (int r = 0; r < rows; ++r)
        for (const auto &[c, field] : summed)
            m_sums[c] += m_dataset->valueAt(r, field).moneyUnits();
}

bool DataGrid::footerSum(int row, int column, qint64 *units) const
{
    const GridColumn &c = gridColumn(column);
    if (row < 0 || row >= c.footer.size() || c.footer[row].kind != FooterKind::Sum)
        return false;
    if (!m_sumsValid)
        computeSums();
    if (units)
        *units = m_sums[size_t(column)];
    return true;
}

QString DataGrid::footerText(int row, int column) const
{
    const GridColumn &c = gridColumn(column);
    if (row < 0 || row >= c.footer.size() || row >= m_footerRows)
        return QString();
    const FooterCell &cell = c.footer[row];
    switch (cell.kind) {
    case FooterKind::None:
        return QString();
    case FooterKind::Text:
        return cell.text;
    case FooterKind::Count:
        return QString::number(m_dataset && m_dataset->isActive() ? m_dataset->recordCount() : 0);
    case FooterKind::Sum: {
        qint64 units = 0;
        footerSum(row, column, &units);
        const int f = fieldIndexOf(column);
        if (f < 0)
            return QString();
        const FieldDef &d = m_dataset->fields()[f];
        switch (d.type) {
        case ValueType::Integer:
            return Formatter::displayText(Value::integer(units / kMoneyScale), d.type, d.displayFormat, d.currency);
        case ValueType::Float:
            return Formatter::displayText(Value::real(double(units) / kMoneyScale), d.type, d.displayFormat,
                                          d.currency);
        default:
            return Formatter::displayText(Value::money(units), ValueType::Money, d.displayFormat, d.currency);
        }
    }
    }
    return QString();
}

int DataGrid::footerHeight() const
{
    return m_footerRows * m_footer->rowHeight();
}

// ---- sort marks ---------------------------------------------------------------------------

void DataGrid::setSortMarks(const QList<SortMark> &marks)
{
    QList<SortMark> next;
    for (const SortMark &m : marks) {
        bool dup = false;
        for (const SortMark &n : next)
            dup = dup || n.column == m.column;
        if (!dup && m.column >= 0 && m.column < gridColumnCount())
            next << m;
    }
    if (next == m_sortMarks)
        return;
    m_sortMarks = next;
    horizontalHeader()->viewport()->update();
    if (m_frozenView)
        m_frozenView->horizontalHeader()->viewport()->update();
    emit sortMarkingChanged();
}

void DataGrid::clickTitle(int section, Qt::KeyboardModifiers modifiers)
{
    const int column = gridColumnOfSection(section);
    if (column < 0)
        return;
    const bool adding = m_multiSort && modifiers.testFlag(Qt::ControlModifier);
    QList<SortMark> marks = m_sortMarks;
    int at = -1;
    for (int i = 0; i < marks.size(); ++i)
        if (marks[i].column == column)
            at = i;
    if (adding) {
        // Ctrl+click: a new column joins the marks; a marked one turns round, and
        // a descending one leaves the marks, so every mark can be taken off.
        if (at < 0)
            marks << SortMark{column, false};
        else if (!marks[at].descending)
            marks[at].descending = true;
        else
            marks.removeAt(at);
    } else {
        const bool descending = at >= 0 && !marks[at].descending;
        marks = {SortMark{column, descending}};
    }
    setSortMarks(marks);
}

// ---- editing, search, colours, frozen columns -------------------------------------------------

void DataGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
}

void DataGrid::setRowColourHook(RowColourHook hook)
{
    m_rowColours = std::move(hook);
    viewport()->update();
}

void DataGrid::setFrozenColumns(int count)
{
    m_frozen = qMax(0, count);
    if (m_frozen > 0 && !m_frozenView) {
        m_frozenView = new FrozenColumnsView(this, m_delegate);
        m_frozenView->attach();
    }
    if (m_frozenView) {
        m_frozenView->syncColumns();
        m_frozenView->setVisible(m_frozen > 0);
    }
    updateGeometries();
}

QList<int> DataGrid::frozenSections() const
{
    QList<int> r;
    const QHeaderView *h = horizontalHeader();
    for (int v = 0; v < h->count() && r.size() < m_frozen; ++v) {
        const int s = h->logicalIndex(v);
        if (!h->isSectionHidden(s))
            r << s;
    }
    return r;
}

void DataGrid::keyboardSearch(const QString &search)
{
    if (!m_readOnly && editTriggers() != QAbstractItemView::NoEditTriggers)
        return;
    const int column = currentColumn();
    if (!m_dataset || !m_dataset->isActive() || column < 0 || search.isEmpty())
        return;
    if (!search.at(0).isPrint())
        return;
    const QString wanted = m_search + search;
    bool found = false;
    m_searching = true;
    try {
        found = m_dataset->locate(gridColumn(column).fieldName, Value(wanted),
                                  Dataset::PartialKey | Dataset::CaseInsensitive);
    } catch (const DbError &) {
        found = false;
    }
    // A letter that matches no row is not kept, so the next one searches on from the last match.
    if (found)
        m_search = wanted;
    else
        QApplication::beep();
    selectDatasetRow();
    m_searching = false;
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && state() != QAbstractItemView::EditingState) {
        emit enterPressed();
        event->accept();
        return;
    }
    if (key == Qt::Key_Backspace && !m_search.isEmpty()) {
        const QString shorter = m_search.left(m_search.size() - 1);
        m_search.clear();
        if (!shorter.isEmpty())
            keyboardSearch(shorter);
        event->accept();
        return;
    }
    if (key == Qt::Key_Escape && !m_search.isEmpty()) {
        m_search.clear();
        event->accept();
        return;
    }
    // Any key but a letter ends the search, also when the row does not move.
    if (event->text().isEmpty() || !event->text().at(0).isPrint())
        m_search.clear();
    QTableView::keyPressEvent(event);
}

void DataGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const int column = index.isValid() ? gridColumnOfSection(index.column()) : -1;
    if (column >= 0 && m_columns[size_t(column)].editButton && event->button() == Qt::LeftButton
        && DataGridDelegate::buttonRect(visualRect(index)).contains(event->position().toPoint())
        && index.row() == currentIndex().row()) {
        setCurrentIndex(index);
        emit editButtonClicked(column);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableView::mouseDoubleClickEvent(event);
    if (index.isValid())
        emit rowDoubleClicked();
}

void DataGrid::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    // The focus moves to the new control before the old one hears of it.
    const QWidget *now = QApplication::focusWidget();
    const bool stays = now && (now == this || isAncestorOf(now));
    const Qt::FocusReason r = event->reason();
    if (!stays && r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason && r != Qt::MenuBarFocusReason)
        emit gridExited();
}

bool DataGrid::commitEdit()
{
    if (!isEditing())
        return true;
    QWidget *editor = indexWidget(currentIndex());
    if (!editor)
        return true;
    QString error;
    if (!m_delegate->check(editor, &error)) {
        Messages::warning(error, this);
        editor->setFocus();
        return false;
    }
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

QMenu *DataGrid::popupMenu() const
{
    return m_popup.data();
}

void DataGrid::setPopupMenu(QMenu *menu)
{
    m_popup = menu;
}

void DataGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popup) {
        QTableView::contextMenuEvent(event);
        return;
    }
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    if (index.isValid())
        setCurrentIndex(index);
    m_popup->popup(event->globalPos());
    event->accept();
}

// ---- the current row ----------------------------------------------------------------------------

int DataGrid::currentColumn() const
{
    const int c = gridColumnOfSection(currentIndex().column());
    if (c >= 0)
        return c;
    const QList<int> shown = visibleColumns();
    for (int v : shown)
        if (sectionOfColumn(v) >= 0)
            return v;
    return -1;
}

void DataGrid::setCurrentColumn(int column)
{
    const int s = sectionOfColumn(column);
    if (s < 0 || !m_model)
        return;
    const int row = currentIndex().isValid() ? currentIndex().row() : (m_dataset ? m_dataset->currentIndex() : -1);
    if (row >= 0)
        setCurrentIndex(m_model->index(row, s));
}

QString DataGrid::cellText(int column) const
{
    const int f = fieldIndexOf(column);
    if (f < 0 || !m_dataset->isActive())
        return QString();
    return m_dataset->displayText(m_dataset->fields()[f].name);
}

void DataGrid::selectDatasetRow()
{
    if (!m_model || !selectionModel())
        return;
    const int row = m_dataset && m_dataset->isActive() ? m_dataset->currentIndex() : -1;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        int section = currentIndex().isValid() ? currentIndex().column() : -1;
        if (section < 0 || horizontalHeader()->isSectionHidden(section)) {
            const int c = currentColumn();
            section = c >= 0 ? sectionOfColumn(c) : 0;
        }
        const QModelIndex index = m_model->index(row, qMax(0, section));
        if (index != currentIndex() || !selectionModel()->isRowSelected(row, QModelIndex()))
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_syncing = false;
    refreshCurrentRow();
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_searching)
        m_search.clear();
    if (previous.isValid() && current.column() != previous.column()) {
        const int left = gridColumnOfSection(previous.column());
        if (left >= 0)
            emit columnExited(left);
    }
    if (!m_syncing && m_dataset && m_dataset->isActive() && current.isValid()
        && current.row() != m_dataset->currentIndex()) {
        m_syncing = true;
        try {
            m_dataset->moveTo(current.row());
        } catch (const DbError &e) {
            // The row being left could not be posted: it stays current, as typed.
            m_syncing = false;
            Messages::warning(e.message(), this);
            selectDatasetRow();
            return;
        }
        m_syncing = false;
    }
    refreshCurrentRow();
}

void DataGrid::refreshCurrentRow()
{
    m_rowHeader->viewport()->update();
    viewport()->update();
    if (m_frozenView)
        m_frozenView->viewport()->update();
}

// ---- geometry ---------------------------------------------------------------------------------------

void DataGrid::updateGeometries()
{
    QTableView::updateGeometries();
    // The footer takes a strip under the cells, between them and the horizontal scroll bar.
    const int fh = footerHeight();
    const QMargins m = viewportMargins();
    if (m.bottom() != fh)
        setViewportMargins(m.left(), m.top(), m.right(), fh);
    const QRect vg = viewport()->geometry();
    m_footer->setGeometry(frameWidth(), vg.bottom() + 1, vg.right() + 1 - frameWidth(), fh);
    m_footer->setVisible(fh > 0);
    if (m_frozenView)
        m_frozenView->placeOver();
}

void DataGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    const QList<int> frozen = m_frozen > 0 ? frozenSections() : QList<int>();
    if (frozen.isEmpty() || !index.isValid()) {
        QTableView::scrollTo(index, hint);
        return;
    }
    // Fixed columns never need horizontal scrolling; the others must come out
    // from under them.
    QScrollBar *bar = horizontalScrollBar();
    const int keep = bar->value();
    QTableView::scrollTo(index, hint);
    if (frozen.contains(index.column())) {
        bar->setValue(keep);
        return;
    }
    int fixedWidth = 0;
    for (int s : frozen)
        fixedWidth += horizontalHeader()->sectionSize(s);
    const int left = visualRect(index).left();
    if (left < fixedWidth)
        bar->setValue(bar->value() - (fixedWidth - left));
}

void DataGrid::snapBesideFrozen(int value)
{
    const int previous = m_lastHorizontal;
    m_lastHorizontal = value;
    if (m_frozen <= 0 || m_snapping)
        return;
    const QList<int> frozen = frozenSections();
    const QHeaderView *h = horizontalHeader();
    int fixedWidth = 0;
    for (int s : frozen)
        fixedWidth += h->sectionSize(s);
    // Scrolling goes by whole columns, each starting right at the fixed columns'
    // edge, so none shows cut beneath them: the next column in the direction moved.
    int down = 0;
    int up = -1;
    for (int v = 0; v < h->count(); ++v) {
        const int s = h->logicalIndex(v);
        if (h->isSectionHidden(s) || frozen.contains(s))
            continue;
        const int offset = h->sectionPosition(s) - fixedWidth;
        if (offset <= value)
            down = qMax(down, offset);
        if (offset >= value && up < 0)
            up = offset;
    }
    QScrollBar *bar = horizontalScrollBar();
    // The far end stays reachable, so the last column can always be seen whole.
    const int target = value < previous || up < 0 ? down : qMin(up, bar->maximum());
    if (target != value) {
        m_snapping = true;
        bar->setValue(target);
        m_lastHorizontal = target;
        m_snapping = false;
    }
}

void DataGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (m_frozenView)
        m_frozenView->placeOver();
}

void DataGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx != 0)
        m_footer->update();
}

} // namespace kvl
