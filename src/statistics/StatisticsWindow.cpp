// The shared frame of the statistics windows.
#include "StatisticsWindow.h"

#include "ButtonEdit.h"
#include "CancelKey.h"
#include "ContextMenuMirror.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "EditButton.h"
#include "EnterAsTab.h"
#include "ExportGrid.h"
#include "GridLayout.h"
#include "GridSort.h"
#include "Messages.h"
#include "ProgramValues.h"
#include "RunReport.h"
#include "WindowParts.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvl {

StatisticsWindow::StatisticsWindow(const QString &title, Dataset &data, QWidget *parent)
    : QWidget(parent), m_data(data), m_title(title), m_coalescer(this)
{
    setWindowTitle(title);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);

    outer->addWidget(MakeTitleLabel(this, "Title", title));

    m_toolbarRow = new QWidget(this);
    auto *bar = new QHBoxLayout(m_toolbarRow);
    bar->setContentsMargins(0, 0, 0, 0);
    Bprint = MakeToolButton(m_toolbarRow, "Bprint", QStringLiteral("打印"), QStringLiteral("打印单据或报表 Ctrl+P"),
                            QKeySequence(QStringLiteral("Ctrl+P")));
    Bsaveto = MakeToolButton(m_toolbarRow, "Bsaveto", QStringLiteral("导出"),
                             QStringLiteral("将表格中的数据导出为其它文件 Ctrl+S"), QKeySequence(QStringLiteral("Ctrl+S")));
    Bzselcol = MakeToolButton(m_toolbarRow, "Bzselcol", QStringLiteral("表格"), QStringLiteral("表格设定 Ctrl+G"),
                              QKeySequence(QStringLiteral("Ctrl+G")));
    ToolbarSep973 = MakeToolSeparator(m_toolbarRow, "ToolbarSep973");
    BReturn = MakeToolButton(m_toolbarRow, "BReturn", QStringLiteral("返回"), QStringLiteral("Esc"), {});
    for (QWidget *w : {static_cast<QWidget *>(Bprint), static_cast<QWidget *>(Bsaveto),
                       static_cast<QWidget *>(Bzselcol), ToolbarSep973, static_cast<QWidget *>(BReturn)})
        bar->addWidget(w);
    bar->addStretch(1);
    outer->addWidget(m_toolbarRow);

    auto *filterBox = new QWidget(this);
    m_filters = new QGridLayout(filterBox);
    m_filters->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(filterBox);
    qshrq = MakeDatePicker(this, "qshrq");
    jzhrq = MakeDatePicker(this, "jzhrq");
    addFilterWidget(qshrq, QStringLiteral("起始日期"), 0, 0);
    addFilterWidget(jzhrq, QStringLiteral("截止日期"), 0, 1);

    Grid = new DataGrid(this);
    setTabOrder(jzhrq, Grid);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setReadOnly(true);
    Grid->setMultiSortMarking(true);
    Grid->setDataset(&m_data);
    outer->addWidget(Grid, 1);

    PMPrint = new QMenu(this);
    PMPrint->setObjectName(QStringLiteral("PMPrint"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    auto *mirror = new ContextMenuMirror(PopupMenu2, this);
    mirror->mirror(Bprint, QKeySequence(QStringLiteral("Ctrl+P")));
    mirror->mirror(Bsaveto, QKeySequence(QStringLiteral("Ctrl+S")));
    mirror->mirror(Bzselcol, QKeySequence(QStringLiteral("Ctrl+G")));
    mirror->addSeparator(QStringLiteral("N13"), ToolbarSep973);
    mirror->mirror(BReturn, QKeySequence(Qt::Key_Escape));
    // The mirror's items carry the shortcuts now; the buttons keep them only as hints.
    for (QToolButton *b : {Bprint, Bsaveto, Bzselcol})
        b->setShortcut({});
    Grid->setPopupMenu(PopupMenu2);

    connect(Bprint, &QToolButton::clicked, this, &StatisticsWindow::BprintClick);
    connect(Bsaveto, &QToolButton::clicked, this, [this] { ExportGrid(m_title, *Grid); });
    connect(Bzselcol, &QToolButton::clicked, this, [this] { EditGridLayout(m_title, *Grid); });
    connect(BReturn, &QToolButton::clicked, this, &QWidget::close);
    CancelKey::attach(BReturn, this);
    EnterAsTab::install(this);

    connect(Grid, &DataGrid::sortMarkingChanged, this, [this] { ApplyGridSort(*Grid); });
    for (QDateEdit *d : {qshrq, jzhrq}) {
        connect(d, &QDateEdit::dateChanged, this, &StatisticsWindow::qshrqChange);
        connect(d->calendarWidget(), &QCalendarWidget::clicked, this, [this, d] { focusNextFrom(d); });
    }
    connect(&m_coalescer, &RefreshCoalescer::failed, this, [this](const QString &message) {
        statusUpdate();
        Messages::warning(message, this);
    });
    SetReportParent(this);
    statusUpdate();
}

void StatisticsWindow::addFilterWidget(QWidget *control, const QString &label, int row, int col)
{
    auto *l = new QLabel(label, control->parentWidget());
    l->setBuddy(control);
    m_filters->addWidget(l, row, col * 2, Qt::AlignRight);
    m_filters->addWidget(control, row, col * 2 + 1);
    chainFocus(control);
}

void StatisticsWindow::chainFocus(QWidget *control)
{
    if (m_lastFilter)
        setTabOrder(m_lastFilter, control);
    m_lastFilter = control;
    if (Grid)
        setTabOrder(control, Grid);
}

QLineEdit *StatisticsWindow::addTextFilter(const QString &name, const QString &label, int row, int col)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(name);
    addFilterWidget(e, label, row, col);
    connect(e, &QLineEdit::textChanged, this, &StatisticsWindow::qshrqChange);
    return e;
}

ButtonEdit *StatisticsWindow::addPickFilter(const QString &name, const QString &label, int row, int col,
                                            std::function<void()> handler)
{
    auto *e = new ButtonEdit(this);
    e->setObjectName(name);
    e->button()->action()->setToolTip(QStringLiteral("F4"));
    addFilterWidget(e, label, row, col);
    connect(e, &QLineEdit::textChanged, this, &StatisticsWindow::qshrqChange);
    connect(e, &ButtonEdit::buttonClicked, this, std::move(handler));
    return e;
}

void StatisticsWindow::addReport(const QString &name, const QString &caption, bool summary,
                                 const QString &sortFields)
{
    QAction *a = PMPrint->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, caption, summary, sortFields] {
        if (!m_data.isActive())
            return;
        beforeReport();
        CurrentReportName = caption;
        RunReport(m_data, true, summary, sortFields);
    });
}

void StatisticsWindow::takePicked(QLineEdit *edit, bool chosen, Dataset &list, const QString &field)
{
    if (chosen && list.isActive() && list.recordCount() > 0)
        edit->setText(list.value(field).toString());
    focusNextFrom(edit);
}

void StatisticsWindow::takePicked(QLineEdit *edit, const std::optional<QString> &chosen)
{
    if (chosen)
        edit->setText(*chosen);
    focusNextFrom(edit);
}

void StatisticsWindow::focusNextFrom(QWidget *w)
{
    w->setFocus();
    focusNextChild();
}

void StatisticsWindow::openWithDefaults(const QDate &today)
{
    qshrq->setDate(QDate(today.year(), 1, 1));
    jzhrq->setDate(today);
    LoadGridLayout(m_title, *Grid);
    show();
    m_open = true;
    // Through the coalescer, so that a refused first refresh is reported like any other.
    m_coalescer.request([this] { refreshNow(); });
    m_coalescer.flush();
    qshrq->setFocus();
}

void StatisticsWindow::qshrqChange()
{
    // Changes made while the window is being built or opened are not refreshes.
    if (!m_open)
        return;
    m_coalescer.request([this] { refreshNow(); });
}

void StatisticsWindow::flushRefresh()
{
    m_coalescer.flush();
}

void StatisticsWindow::refreshNow()
{
    try {
        runRefresh();
    } catch (...) {
        statusUpdate();
        throw;
    }
    statusUpdate();
}

void StatisticsWindow::statusUpdate()
{
    const bool rows = m_data.isActive() && m_data.recordCount() > 0;
    Bprint->setEnabled(rows);
    Bsaveto->setEnabled(rows);
}

int StatisticsWindow::countWidth(const DataGrid &g)
{
    return g.fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16;
}

int StatisticsWindow::totalWidth(const DataGrid &g)
{
    return qMax(140, g.fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000,000.00")) + 16);
}

void StatisticsWindow::BprintClick()
{
    PMPrint->popup(Bprint->mapToGlobal(QPoint(0, Bprint->height())));
}

void StatisticsWindow::closeEvent(QCloseEvent *event)
{
    m_coalescer.cancel();
    m_open = false;
    m_data.close();
    QWidget::closeEvent(event);
}

bool StatisticsWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        statusUpdate();
    return QWidget::event(event);
}

} // namespace kvl
