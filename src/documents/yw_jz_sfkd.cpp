// The picker of documents to settle.
#include "yw_jz_sfkd.h"

#include "ContextMenuMirror.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "ExportGrid.h"
#include "GridLayout.h"
#include "GridSort.h"
#include "Messages.h"
#include "ModalResult.h"
#include "PickerPlacement.h"
#include "PurchaseRows.h"
#include "ToolBarButton.h"
#include "datakvl.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvl {

QString TFMyw_jz_sfkd::title()
{
    return QStringLiteral("选择未结帐单据");
}

TFMyw_jz_sfkd::TFMyw_jz_sfkd(QWidget *owner)
    : QDialog(owner), m_data(DataModKvl->DataSfk_jz)
{
    setObjectName(QStringLiteral("TFMyw_jz_sfkd"));
    setWindowTitle(title());
    setSizeGripEnabled(true);
    build();
}

TFMyw_jz_sfkd::~TFMyw_jz_sfkd() = default;

void TFMyw_jz_sfkd::build()
{
    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(2, 2, 2, 2);
    top->setSpacing(2);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(1);
    BSelect = ToolBarButton(this, QStringLiteral("BSelect"), QStringLiteral("选定"), QStringLiteral("选定当前的记录 Enter"));
    QWidget *sep1 = ToolBarSeparator(this, QStringLiteral("ToolbarSep971"));
    Bsaveto = ToolBarButton(this, QStringLiteral("Bsaveto"), QStringLiteral("导出"),
                            QStringLiteral("将表格中的数据导出为其它文件 Ctrl+S"));
    Bzselcol = ToolBarButton(this, QStringLiteral("Bzselcol"), QStringLiteral("表格"), QStringLiteral("表格设定 Ctrl+G"));
    QWidget *sep2 = ToolBarSeparator(this, QStringLiteral("ToolbarSep973"));
    BReturn = ToolBarButton(this, QStringLiteral("BReturn"), QStringLiteral("返回"), QStringLiteral("Esc"));
    for (QWidget *w : {static_cast<QWidget *>(BSelect), sep1, static_cast<QWidget *>(Bsaveto),
                       static_cast<QWidget *>(Bzselcol), sep2, static_cast<QWidget *>(BReturn)})
        bar->addWidget(w);
    bar->addStretch();
    top->addLayout(bar);

    Grid = new DataGrid(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setReadOnly(true);
    Grid->setMultiSortMarking(true);
    for (const char *field : {"制单日期", "类别", "单号", "应收款金额（出货）", "结帐、应付款金额（进货）", "应收款余额",
                              "员工姓名", "备注"})
        Grid->addColumn(QString::fromUtf8(field));
    Grid->setRowColourHook(PurchasesInGreen(*Grid, QStringLiteral("类别")));
    Grid->setDataset(&m_data);
    top->addWidget(Grid, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto *mirror = new ContextMenuMirror(PopupMenu1, this);
    // Enter belongs to the grid's own signal below; the item only shows the key.
    mirror->mirror(BSelect, QKeySequence(Qt::Key_Return))->setShortcutContext(Qt::WidgetShortcut);
    mirror->addSeparator(QStringLiteral("N1"), sep1);
    mirror->mirror(Bsaveto, QKeySequence(Qt::CTRL | Qt::Key_S));
    mirror->mirror(Bzselcol, QKeySequence(Qt::CTRL | Qt::Key_G));
    mirror->addSeparator(QStringLiteral("N2"), sep2);
    mirror->mirror(BReturn, QKeySequence(Qt::Key_Escape));
    Grid->setPopupMenu(PopupMenu1);

    connect(BSelect, &QToolButton::clicked, this, &TFMyw_jz_sfkd::BselectClick);
    connect(Bsaveto, &QToolButton::clicked, this, &TFMyw_jz_sfkd::BsavetoClick);
    connect(Bzselcol, &QToolButton::clicked, this, &TFMyw_jz_sfkd::BzselcolClick);
    connect(BReturn, &QToolButton::clicked, this, &TFMyw_jz_sfkd::BreturnClick);
    connect(Grid, &DataGrid::enterPressed, this, &TFMyw_jz_sfkd::BselectClick);
    connect(Grid, &DataGrid::rowDoubleClicked, this, &TFMyw_jz_sfkd::BselectClick);
    connect(Grid, &DataGrid::sortMarkingChanged, this, &TFMyw_jz_sfkd::GridSortMarkingChanged);
}

void TFMyw_jz_sfkd::prepare()
{
    LoadGridLayout(title(), *Grid);
    int widths = 0;
    for (int c : Grid->visibleColumns())
        widths += Grid->columnWidthOf(c);
    PlacePicker(*this, PickerWidth(widths));
}

void TFMyw_jz_sfkd::BselectClick()
{
    if (!m_data.isActive() || m_data.isEmpty()) {
        Messages::warning(QStringLiteral("没有未结帐单据！"), this);
        m_chosen = false;
        done(mrAbort);
        return;
    }
    m_chosen = true;
    done(mrOk);
}

void TFMyw_jz_sfkd::BsavetoClick()
{
    ExportGrid(title(), *Grid);
}

void TFMyw_jz_sfkd::BzselcolClick()
{
    EditGridLayout(title(), *Grid);
}

void TFMyw_jz_sfkd::BreturnClick()
{
    m_chosen = false;
    done(mrAbort);
}

void TFMyw_jz_sfkd::GridSortMarkingChanged()
{
    ApplyGridSort(*Grid);
}

void TFMyw_jz_sfkd::done(int result)
{
    if (m_data.isActive())
        m_data.setSortText(QString());
    QDialog::done(result);
}

void TFMyw_jz_sfkd::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    Grid->setFocus(Qt::OtherFocusReason);
}

} // namespace kvl
