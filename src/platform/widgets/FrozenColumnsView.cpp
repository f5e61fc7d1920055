// FrozenColumnsView: follows the grid's rows, columns and vertical scrolling.
#include "FrozenColumnsView.h"

#include "DataGrid.h"
#include "DataGridDelegate.h"
#include "DataGridHeader.h"

#include <QMouseEvent>
#include <QScrollBar>

namespace kvl {

FrozenColumnsView::FrozenColumnsView(DataGrid *grid, DataGridDelegate *delegate) : QTableView(grid), m_grid(grid)
{
    setObjectName(QStringLiteral("FrozenColumns"));
    auto *titles = new DataGridHeader(Qt::Horizontal, grid);
    setHorizontalHeader(titles);
    titles->setSectionsClickable(true);
    titles->setSectionResizeMode(QHeaderView::Fixed);
    titles->setDefaultAlignment(Qt::AlignCenter);
    connect(titles, &QHeaderView::sectionClicked, grid,
            [grid, titles](int section) { grid->clickTitle(section, titles->pressModifiers()); });
    verticalHeader()->hide();
    setItemDelegate(delegate);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollMode(grid->verticalScrollMode());
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(grid->verticalHeader()->minimumSectionSize());
    verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    connect(verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(), &QScrollBar::setValue);
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
}

void FrozenColumnsView::attach()
{
    setModel(m_grid->model());
    if (m_grid->selectionModel())
        setSelectionModel(m_grid->selectionModel());
    syncColumns();
}

void FrozenColumnsView::syncColumns()
{
    QHeaderView *own = horizontalHeader();
    const QHeaderView *grid = m_grid->horizontalHeader();
    if (!model() || own->count() != grid->count())
        return;
    int left = m_grid->frozenColumns();
    for (int v = 0; v < grid->count(); ++v) {
        const int s = grid->logicalIndex(v);
        const int from = own->visualIndex(s);
        if (from != v)
            own->moveSection(from, v);
        const bool shown = !grid->isSectionHidden(s) && left > 0;
        own->setSectionHidden(s, !shown);
        if (shown) {
            own->resizeSection(s, grid->sectionSize(s));
            --left;
        }
    }
    placeOver();
}

void FrozenColumnsView::placeOver()
{
    const QHeaderView *grid = m_grid->horizontalHeader();
    int width = 0;
    for (int s = 0; s < horizontalHeader()->count(); ++s)
        if (!horizontalHeader()->isSectionHidden(s))
            width += grid->sectionSize(s);
    const QRect vg = m_grid->viewport()->geometry();
    const int top = grid->isHidden() ? vg.top() : grid->geometry().top();
    horizontalHeader()->setFixedHeight(grid->height());
    setGeometry(vg.left(), top, qMin(width, vg.width()), vg.bottom() - top + 1);
    verticalScrollBar()->setValue(m_grid->verticalScrollBar()->value());
    raise();
}

void FrozenColumnsView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        emit m_grid->rowDoubleClicked();
}

} // namespace kvl
