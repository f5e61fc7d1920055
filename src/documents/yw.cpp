// The business window: its controls, the list of the partner's documents, the
// detail that follows it, and the commands.
#include "yw.h"

#include "ButtonEdit.h"
#include "CancelKey.h"
#include "ContextMenuMirror.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "DatasetFreeze.h"
#include "DbErrorText.h"
#include "DocumentDelete.h"
#include "DocumentKind.h"
#include "DocumentStart.h"
#include "EditButton.h"
#include "EnterAsTab.h"
#include "ExportGrid.h"
#include "FrozenDisplay.h"
#include "GridLayout.h"
#include "GridSort.h"
#include "Messages.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "PickMode.h"
#include "ProgramValues.h"
#include "ProgressScope.h"
#include "ReportVariables.h"
#include "RunReport.h"
#include "WaitCursor.h"
#include "WindowParts.h"
#include "datakvl.h"
#include "yw_jch.h"
#include "yw_jz.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace kvl {

namespace {

const QString kTitle = QStringLiteral("办理业务");
const QString kRefreshing = QStringLiteral("正在刷新表格，请稍候......");
const QString kSettlement = QStringLiteral("结帐");

TDataModKvl &dm()
{
    return *DataModKvl;
}

// A shipment or purchase a settlement names; settlements themselves are never "settled".
bool isSettled(const Dataset &list)
{
    return list.value(QStringLiteral("类别")).toString() != kSettlement
        && !list.value(QStringLiteral("结帐单号")).toString().trimmed().isEmpty();
}

void showDbError(const DbError &e, QWidget *parent)
{
    Messages::warning(DbErrorText(e.message(), QStringLiteral("业务"), e.errors()), parent);
}

// The editors are 720 pixels wide on any screen that has room for it.
void sizeEditor(QDialog &editor, const QWidget *owner)
{
    const QScreen *s = owner->screen();
    if (s && s->geometry().width() > 640)
        editor.resize(720, editor.height());
}

} // namespace

TFMyw::TFMyw(QWidget *parent)
    : QWidget(parent), m_list(dm().DataSfk)
{
    setObjectName(QStringLiteral("TFMyw"));
    setWindowTitle(kTitle);
    build();
    // FormCreate: nothing is listed before a partner is chosen.
    for (Dataset *d : {&dm().DataSfk, &dm().DataSfk_kcmx, &dm().DataSfk_jzmx})
        d->close();
    SetReportParent(this);
    FormActivate();
}

TFMyw::~TFMyw() = default;

void TFMyw::build()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(3);
    Formname = MakeTitleLabel(this, "Formname", kTitle);
    outer->addWidget(Formname);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    Badd = MakeToolButton(this, "Badd", QStringLiteral("添加"), QStringLiteral("添加新的记录 Ctrl+Ins"));
    Bedit = MakeToolButton(this, "Bedit", QStringLiteral("修改"), QStringLiteral("修改当前的记录 Ctrl+E"));
    Bcut = MakeToolButton(this, "Bcut", QStringLiteral("删除"), QStringLiteral("删除当前的记录 Ctrl+Del"));
    ToolbarSep972 = MakeToolSeparator(this, "ToolbarSep972");
    Bprint = MakeToolButton(this, "Bprint", QStringLiteral("打印"), QStringLiteral("打印单据或报表 Ctrl+P"));
    Bsaveto = MakeToolButton(this, "Bsaveto", QStringLiteral("导出"), QStringLiteral("将表格中的数据导出为其它文件 Ctrl+S"));
    Bzselcol = MakeToolButton(this, "Bzselcol", QStringLiteral("表格"), QStringLiteral("表格设定 Ctrl+G"));
    ToolbarSep973 = MakeToolSeparator(this, "ToolbarSep973");
    BReturn = MakeToolButton(this, "BReturn", QStringLiteral("返回"), QStringLiteral("Esc"));
    for (QWidget *w : {static_cast<QWidget *>(Badd), static_cast<QWidget *>(Bedit), static_cast<QWidget *>(Bcut),
                       ToolbarSep972, static_cast<QWidget *>(Bprint), static_cast<QWidget *>(Bsaveto),
                       static_cast<QWidget *>(Bzselcol), ToolbarSep973, static_cast<QWidget *>(BReturn)})
        bar->addWidget(w);
    bar->addStretch(1);
    outer->addLayout(bar);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PMysk = PopupMenu1->addAction(QStringLiteral("出货（应收款）"));
    PMysk->setObjectName(QStringLiteral("PMysk"));
    PMyfk = PopupMenu1->addAction(QStringLiteral("进货（应付款）"));
    PMyfk->setObjectName(QStringLiteral("PMyfk"));
    PopupMenu1->addSeparator();
    PMjz = PopupMenu1->addAction(kSettlement);
    PMjz->setObjectName(QStringLiteral("PMjz"));
    PMPrint = new QMenu(this);
    PMPrint->setObjectName(QStringLiteral("PMPrint"));
    N5 = PMPrint->addAction(QStringLiteral("往来单位业务明细表"));
    N5->setObjectName(QStringLiteral("N5"));
    N27 = PMPrint->addAction(QStringLiteral("往来单位商品明细表"));
    N27->setObjectName(QStringLiteral("N27"));
    // The buttons show their menus' arrow; a click on the button itself drops the menu too.
    for (auto [button, menu] : {std::pair{Badd, PopupMenu1}, std::pair{Bprint, PMPrint}}) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setMinimumWidth(68);
        connect(button, &QToolButton::clicked, this, [button] { button->showMenu(); });
    }

    auto *partnerRow = new QHBoxLayout;
    partnerRow->setContentsMargins(0, 0, 0, 0);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("往来单位(&D)"));
    SpeedButton1->setToolTip(QStringLiteral("请首先选定您要办理业务的往来单位 Alt+D"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    dw = new ButtonEdit(this);
    dw->setObjectName(QStringLiteral("dw"));
    dw->setAccessibleName(QStringLiteral("往来单位"));
    dw->setMinimumWidth(260);
    dw->setEnterTriggers(true);
    dw->button()->action()->setToolTip(QStringLiteral("F4"));
    dwid = new QLineEdit(this);
    dwid->setObjectName(QStringLiteral("dwid"));
    dwid->hide();
    qshrqCheck = new QCheckBox(QStringLiteral("起始日期"), this);
    qshrqCheck->setObjectName(QStringLiteral("qshrqCheck"));
    qshrq = MakeDatePicker(this, "qshrq");
    qshrq->setAccessibleName(QStringLiteral("起始日期"));
    CheckJZ = new QCheckBox(QStringLiteral("显示已结帐单据(&X)"), this);
    CheckJZ->setObjectName(QStringLiteral("CheckJZ"));
    partnerRow->addWidget(SpeedButton1);
    partnerRow->addWidget(dw, 2);
    partnerRow->addSpacing(12);
    partnerRow->addWidget(qshrqCheck);
    partnerRow->addWidget(qshrq);
    partnerRow->addSpacing(12);
    partnerRow->addWidget(CheckJZ);
    partnerRow->addStretch(1);
    outer->addLayout(partnerRow);

    Grid = new DataGrid(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setReadOnly(true);
    Grid->setMultiSortMarking(true);
    // The balance has a short title; its total over years of business still has to fit.
    const int balanceWidth = fontMetrics().horizontalAdvance(QStringLiteral("-0,000,000,000.00")) + 16;
    for (const char *f : {"制单日期", "类别", "单号", "应收款金额（出货）", "结帐、应付款金额（进货）", "应收款余额",
                          "员工姓名", "备注", "结帐单号"}) {
        const QString field = QString::fromUtf8(f);
        Grid->addColumn(field, {}, field == QStringLiteral("应收款余额") ? balanceWidth : 0);
    }
    Grid->setFooterRowCount(1);
    Grid->setFooterColour(palette().color(QPalette::ToolTipBase));
    Grid->setFooter(0, FooterKind::Text, QStringLiteral("合计"));
    Grid->setFooter(1, FooterKind::Count);
    for (int c : {3, 4, 5})
        Grid->setFooter(c, FooterKind::Sum);
    Grid->setRowColourHook([this](int row) {
        RowColours c;
        const int number = m_list.fieldIndex(QStringLiteral("结帐单号"));
        const int kind = m_list.fieldIndex(QStringLiteral("类别"));
        if (number >= 0 && !m_list.valueAt(row, number).toString().trimmed().isEmpty())
            c.background = QColor(255, 198, 140);
        const QString k = kind >= 0 ? m_list.valueAt(row, kind).toString() : QString();
        if (k == kSettlement)
            c.text = QColor(174, 87, 0);
        else if (k == QStringLiteral("进货"))
            c.text = QColor(0, 128, 0);
        return c;
    });
    Grid->setDataset(&m_list);

    DBGridEh1 = new DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setReadOnly(true);
    DBGridEh1->setMultiSortMarking(true);
    DBGridEh1->setDataset(&dm().DataSfk_kcmx);
    DBGridEh1->installEventFilter(this);

    RzSplitter1 = new QSplitter(Qt::Vertical, this);
    RzSplitter1->setObjectName(QStringLiteral("RzSplitter1"));
    RzSplitter1->setChildrenCollapsible(false);
    RzSplitter1->addWidget(Grid);
    RzSplitter1->addWidget(DBGridEh1);
    RzSplitter1->setStretchFactor(0, 7);
    RzSplitter1->setStretchFactor(1, 3);
    outer->addWidget(RzSplitter1, 1);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    m_mirror = new ContextMenuMirror(PopupMenu2, this);
    m_mirror->mirror(Badd, QKeySequence(Qt::CTRL | Qt::Key_Insert));
    m_mirror->mirror(Bedit, QKeySequence(Qt::CTRL | Qt::Key_E));
    m_mirror->mirror(Bcut, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m_mirror->addSeparator(QStringLiteral("N12"), ToolbarSep972);
    m_mirror->mirror(Bprint, QKeySequence(Qt::CTRL | Qt::Key_P));
    m_mirror->mirror(Bsaveto, QKeySequence(Qt::CTRL | Qt::Key_S));
    m_mirror->mirror(Bzselcol, QKeySequence(Qt::CTRL | Qt::Key_G));
    m_mirror->addSeparator(QStringLiteral("N13"), ToolbarSep973);
    m_mirror->mirror(BReturn, QKeySequence(Qt::Key_Escape));
    Grid->setPopupMenu(PopupMenu2);
    DBGridEh1->setPopupMenu(PopupMenu2);

    connect(SpeedButton1, &QToolButton::clicked, this, &TFMyw::dwButtonClick);
    connect(dw, &ButtonEdit::buttonClicked, this, &TFMyw::dwButtonClick);
    connect(CheckJZ, &QCheckBox::clicked, this, &TFMyw::CheckJZClick);
    connect(qshrqCheck, &QCheckBox::toggled, this, &TFMyw::CheckJZClick);
    connect(qshrq, &QDateEdit::dateChanged, this, &TFMyw::CheckJZClick);
    connect(qshrq->calendarWidget(), &QCalendarWidget::clicked, this, [this] { focusNextFrom(qshrq); });
    connect(PMysk, &QAction::triggered, this, &TFMyw::PMyskClick);
    connect(PMyfk, &QAction::triggered, this, &TFMyw::PMyfkClick);
    connect(PMjz, &QAction::triggered, this, &TFMyw::PMjzClick);
    connect(N5, &QAction::triggered, this, &TFMyw::N5Click);
    connect(N27, &QAction::triggered, this, &TFMyw::N27Click);
    connect(Bedit, &QToolButton::clicked, this, &TFMyw::BeditClick);
    connect(Bcut, &QToolButton::clicked, this, &TFMyw::BcutClick);
    connect(Bsaveto, &QToolButton::clicked, this, &TFMyw::BsavetoClick);
    connect(Bzselcol, &QToolButton::clicked, this, &TFMyw::BzselcolClick);
    connect(BReturn, &QToolButton::clicked, this, &QWidget::close);
    connect(Grid, &DataGrid::rowDoubleClicked, this, &TFMyw::BeditClick);
    connect(DBGridEh1, &DataGrid::rowDoubleClicked, this, &TFMyw::BeditClick);
    connect(Grid, &DataGrid::sortMarkingChanged, this, [this] { ApplyGridSort(*Grid); });
    connect(DBGridEh1, &DataGrid::sortMarkingChanged, this, [this] { ApplyGridSort(*DBGridEh1); });
    // What the hidden edit bound to DataSfk.id reported: every change of the current document.
    connect(&m_list, &Dataset::currentChanged, this, &TFMyw::DBEdit1Change);
    connect(&m_list, &Dataset::reset, this, &TFMyw::DBEdit1Change);
    CancelKey::attach(BReturn, this);
    EnterAsTab::install(this);
    setTabOrder(dw, qshrqCheck);
    setTabOrder(qshrqCheck, qshrq);
    setTabOrder(qshrq, CheckJZ);
    setTabOrder(CheckJZ, Grid);
    setTabOrder(Grid, DBGridEh1);
}

void TFMyw::openWithDefaults(const QDate &today)
{
    setStartDateApplies(true);
    qshrq->setDate(QDate(today.year(), 1, 1));
    LoadGridLayout(Formname->text(), *Grid);
    show();
    dw->setFocus();
    setStartDateApplies(false);
}

qint64 TFMyw::partnerId() const
{
    const QString t = dwid->text().trimmed();
    bool ok = false;
    const qint64 id = t.toLongLong(&ok);
    return ok ? id : 0;
}

bool TFMyw::startDateApplies() const
{
    return qshrqCheck->isChecked();
}

void TFMyw::setStartDateApplies(bool on)
{
    qshrqCheck->setChecked(on);
}

void TFMyw::focusNextFrom(QWidget *w)
{
    w->setFocus();
    focusNextChild();
}

void TFMyw::dwButtonClick()
{
    Dataset &partners = dm().DataDm_dw;
    const bool chosen = PickPartner(dw->text(), this);
    if (chosen && partners.isActive() && !partners.isEmpty()) {
        dw->setText(partners.value(QStringLiteral("单位名称")).toString());
        dwid->setText(partners.value(QStringLiteral("id")).toString());
        if (partnerId() != 0) {
            CheckJZClick();
        } else {
            Messages::warning(QStringLiteral("请录入单位名称！"), this);
            dw->setFocus();
        }
    }
    partners.setFiltered(false);
}

void TFMyw::CheckJZClick()
{
    if (m_closed)
        return;
    const qint64 partner = partnerId();
    if (partner == 0) {
        dw->setFocus();
        FormActivate();
        return;
    }
    WaitCursor wait;
    {
        FrozenDisplay frozen(Grid);
        const QString sort = m_list.sortText();
        // Open shipments and purchases only, unless the settled ones and the settlements are wanted.
        QString where = QStringLiteral(" where ");
        if (startDateApplies())
            where += QStringLiteral("(sfk.制单日期>=:Vqshrq) and ");
        where += QStringLiteral("(sfk.dw_id=:Vdw_id)");
        if (!CheckJZ->isChecked())
            where += QStringLiteral(" and (sfk_1.单号 IS NULL ) AND sfk.类别<>'结帐'");
        where += QStringLiteral(" order by sfk.id");
        try {
            // The detail follows once, at the end, not on every row passed on the way.
            DatasetFreeze freeze(m_list);
            m_list.close();
            m_list.clearParams();
            m_list.setSql(DataSfkBaseSql + where);
            m_list.setParam(QStringLiteral("Vdw_id"), Value::integer(partner));
            if (startDateApplies())
                m_list.setParam(QStringLiteral("Vqshrq"),
                                Value::dateTime(QDateTime(qshrq->date(), QTime(0, 0), Qt::UTC)));
            m_list.open();
            m_list.setSortText(sort);
            m_list.last();
        } catch (const DbError &e) {
            showDbError(e, this);
        }
    }
    Grid->setFocus();
    DBEdit1Change();
    // Also after a failure: with the list closed, no document command may stay enabled.
    FormActivate();
}

void TFMyw::DBEdit1Change()
{
    if (!m_list.isActive())
        return;
    const bool settlement = !m_list.isEmpty() && m_list.value(QStringLiteral("类别")).toString() == kSettlement;
    Dataset &detail = settlement ? dm().DataSfk_jzmx : dm().DataSfk_kcmx;
    // Only the detail shown follows the list; a report that needs the other opens it.
    (settlement ? dm().DataSfk_kcmx : dm().DataSfk_jzmx).close();
    try {
        if (!detail.isActive())
            detail.open();
    } catch (const DbError &e) {
        showDbError(e, this);
    }
    if (DBGridEh1->dataset() != &detail) {
        DBGridEh1->setDataset(&detail);
        fitDetailColumns();
    }
}

void TFMyw::fitDetailColumns()
{
    // The detail's columns share the grid's width in the proportion of their natural widths.
    const QList<int> columns = DBGridEh1->visibleColumns();
    const int room = DBGridEh1->viewport()->width() - 2;
    int natural = 0;
    for (int c : columns)
        natural += DBGridEh1->defaultColumnWidth(c);
    if (columns.isEmpty() || natural <= 0 || room <= 0)
        return;
    int left = room;
    for (int i = 0; i < columns.size(); ++i) {
        const int w = i + 1 == columns.size() ? left
                                              : int(qint64(DBGridEh1->defaultColumnWidth(columns[i])) * room / natural);
        DBGridEh1->setColumnWidthOf(columns[i], std::max(w, 24));
        left -= w;
    }
}

void TFMyw::FormActivate()
{
    bool rows = false;
    if (m_list.isActive()) {
        Badd->setEnabled(true);
        if (m_list.recordCount() < 2 && m_list.state() == Dataset::State::Browse)
            m_list.first();
        rows = !m_list.isEmpty();
    } else {
        Badd->setEnabled(false);
    }
    for (QToolButton *b : {Bcut, Bedit, Bprint, Bsaveto})
        b->setEnabled(rows);
    PMjz->setEnabled(rows);
    m_mirror->sync();
}

void TFMyw::dropUnsavedRow()
{
    // An editor that neither saved nor gave up its row leaves nothing half-written behind:
    // the next move in the list would post it.
    if (m_list.state() == Dataset::State::Edit || m_list.state() == Dataset::State::Insert)
        m_list.cancel();
}

void TFMyw::afterEditor()
{
    dropUnsavedRow();
    if (m_list.isActive() && !m_list.isEmpty()) {
        try {
            m_list.edit();
            m_list.post();
        } catch (const DbError &e) {
            m_list.cancel();
            showDbError(e, this);
        }
    }
    FormActivate();
}

void TFMyw::reloadKeepingRow(qint64 id)
{
    ProgressScope progress(kRefreshing);
    try {
        ReloadDocumentList(m_list);
    } catch (const DbError &e) {
        showDbError(e, this);
    }
    if (id != 0 && m_list.isActive())
        m_list.locate(QStringLiteral("id"), Value::integer(id));
}

void TFMyw::newShipmentOrPurchase(DocumentKind kind)
{
    if (!m_list.isActive())
        return;
    try {
        StartNewDocument(kind, partnerId());
    } catch (const DbError &e) {
        if (m_list.state() == Dataset::State::Insert)
            m_list.cancel();
        showDbError(e, this);
        return;
    }
    TFMyw_jch editor(kind, true, partnerId(), this);
    sizeEditor(editor, this);
    ModalRunner::exec(editor);
    afterEditor();
}

void TFMyw::PMyskClick()
{
    newShipmentOrPurchase(DocumentKind::Shipment);
}

void TFMyw::PMyfkClick()
{
    newShipmentOrPurchase(DocumentKind::Purchase);
}

void TFMyw::PMjzClick()
{
    if (!m_list.isActive() || !PMjz->isEnabled())
        return;
    try {
        StartNewDocument(DocumentKind::Settlement, partnerId());
    } catch (const DbError &e) {
        if (m_list.state() == Dataset::State::Insert)
            m_list.cancel();
        showDbError(e, this);
        return;
    }
    TFMyw_jz editor(true, partnerId(), this);
    sizeEditor(editor, this);
    const int code = ModalRunner::exec(editor);
    dropUnsavedRow();
    if (code != mrAbort) {
        reloadKeepingRow(0);
        m_list.last();
    }
    afterEditor();
}

bool TFMyw::startEditing(std::optional<WaitCursor> &wait)
{
    try {
        StartEditDocument(partnerId());
        return true;
    } catch (const DbError &e) {
        wait.reset();
        showDbError(e, this);
        return false;
    }
}

void TFMyw::editShipmentOrPurchase()
{
    std::optional<WaitCursor> wait(std::in_place);
    const DocumentKind kind = m_list.value(QStringLiteral("类别")).toString() == QStringLiteral("进货")
        ? DocumentKind::Purchase
        : DocumentKind::Shipment;
    const bool settled = isSettled(m_list);
    const QString staff = m_list.value(QStringLiteral("员工姓名")).toString();
    if (!startEditing(wait))
        return;
    TFMyw_jch editor(kind, false, partnerId(), this);
    sizeEditor(editor, this);
    editor.setStaffName(staff);
    if (settled)
        editor.setSettled(true);
    wait.reset();
    ModalRunner::exec(editor);
}

void TFMyw::editSettlement()
{
    std::optional<WaitCursor> wait(std::in_place);
    const qint64 id = m_list.value(QStringLiteral("id")).toInt();
    const QString staff = m_list.value(QStringLiteral("员工姓名")).toString();
    if (!startEditing(wait))
        return;
    TFMyw_jz editor(false, partnerId(), this);
    sizeEditor(editor, this);
    editor.setStaffName(staff);
    wait.reset();
    const int code = ModalRunner::exec(editor);
    dropUnsavedRow();
    // Given up with 取消 or Esc nothing changed; any other way out may have changed links.
    if (code != mrAbort)
        reloadKeepingRow(id);
    else if (m_list.isActive())
        m_list.locate(QStringLiteral("id"), Value::integer(id));
}

void TFMyw::BeditClick()
{
    if (!Bedit->isEnabled() || !m_list.isActive() || m_list.isEmpty())
        return;
    const QString kind = m_list.value(QStringLiteral("类别")).toString();
    if (kind == kSettlement)
        editSettlement();
    else if (kind == QStringLiteral("出货") || kind == QStringLiteral("进货"))
        editShipmentOrPurchase();
    afterEditor();
}

void TFMyw::BcutClick()
{
    if (!Bcut->isEnabled())
        return;
    if (DeleteCurrentDocument(m_list, this) != DeleteOutcome::Refused)
        FormActivate();
}

void TFMyw::runReport(const QString &name, bool freeze)
{
    if (!m_list.isActive())
        return;
    ReportVars.insert(QStringLiteral("起始日期"), ReportDayCount(qshrq->date()));
    CurrentReportName = name;
    try {
        RunReport(m_list, freeze, false, QString());
    } catch (const DbError &e) {
        showDbError(e, this);
    }
}

void TFMyw::N5Click()
{
    runReport(N5->text(), true);
}

void TFMyw::N27Click()
{
    runReport(N27->text(), false);
}

void TFMyw::BsavetoClick()
{
    ExportGrid(Formname->text(), *Grid);
}

void TFMyw::BzselcolClick()
{
    EditGridLayout(Formname->text(), *Grid);
}

void TFMyw::closeEvent(QCloseEvent *event)
{
    m_closed = true;
    TDataModKvl &d = dm();
    for (Dataset *ds : {&d.DataSfk, &d.DataKcmx, &d.DataSfk_kcmx, &d.DataSfk_jzmx, &d.DataJzmx, &d.DataSfk_jz,
                        &d.DataKcsp})
        ds->close();
    QWidget::closeEvent(event);
}

bool TFMyw::eventFilter(QObject *watched, QEvent *event)
{
    // After the grid has laid out its viewport for the new size.
    if (watched == DBGridEh1 && event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(this, &TFMyw::fitDetailColumns, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

bool TFMyw::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_closed)
        FormActivate();
    return QWidget::event(event);
}

} // namespace kvl
