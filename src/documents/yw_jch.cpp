// The shipment/purchase editor: the lines grid with the goods picker and the
// line arithmetic, the save with its cursor placement, print after save, and
// the settled view-only state.
#include "yw_jch.h"

#include "ButtonEdit.h"
#include "CellTypeIn.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DbError.h"
#include "DbErrorText.h"
#include "DocumentLeave.h"
#include "LineArithmetic.h"
#include "Messages.h"
#include "ModalResult.h"
#include "PickMode.h"
#include "ProgramValues.h"
#include "RunReport.h"
#include "datakvl.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace kvl {

namespace {

const QString kGoodsName = QStringLiteral("kcsp_spmc");
const QString kNumber = QStringLiteral("单号");
const QColor kPurchaseColour(0x00, 0x80, 0x00);
const QColor kLookedUpText(0x80, 0x80, 0x80);

QString kindCaption(DocumentKind kind)
{
    return kind == DocumentKind::Purchase ? QStringLiteral("进货（应付款）") : QStringLiteral("出货（应收款）");
}

} // namespace

TFMyw_jch::TFMyw_jch(DocumentKind kind, bool isNew, qint64 partnerId, QWidget *parent)
    : DocumentEditor(QStringLiteral("TFMyw_jch"), QStringLiteral("添加新的商品"), QStringLiteral("删除当前的商品"),
                     parent)
    , m_kind(kind)
    , m_partnerId(partnerId)
{
    setWindowTitle((isNew ? QStringLiteral("录入") : QStringLiteral("修改")) + kindCaption(kind));
    setHeading(kindCaption(kind), kind == DocumentKind::Purchase ? kPurchaseColour : QColor());

    yjz = new QLabel(QStringLiteral("此单已结帐！"), this);
    yjz->setObjectName(QStringLiteral("yjz"));
    QFont f = yjz->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    yjz->setFont(f);
    yjz->hide();
    headingRow()->addWidget(yjz);
    m_blink = new QTimer(this);
    m_blink->setInterval(500);
    connect(m_blink, &QTimer::timeout, this, &TFMyw_jch::blink);

    TDataModKvl &dm = *DataModKvl;
    bindDocument(&dm.DataSfk, &dm.DataKcmx);
    addColumns();
    Grid->setToolTip(QStringLiteral("添加、删除商品，请在表格中单击鼠标右键。"));
    Grid->installEventFilter(this);
    m_typeIn = new CellTypeIn(Grid, [this](int column) { return column == m_goodsColumn; });
    connect(m_typeIn, &CellTypeIn::typed, this, [this](const QString &text) {
        pickGoods(text);
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(Grid, &tab);
    });
    connect(Grid, &DataGrid::editButtonClicked, this, [this](int column) {
        if (column == m_goodsColumn)
            GridEditButtonClick();
    });
    connect(Grid, &DataGrid::enterPressed, this, &TFMyw_jch::GridKeyPress);
    connect(Grid, &DataGrid::columnExited, this, &TFMyw_jch::GridColExit);
    connect(Grid, &DataGrid::gridExited, this, &TFMyw_jch::GridExit);
    // Emptying the staff box by hand is a change: saving then clears the staff member.
    connect(yw, &QLineEdit::textEdited, this, [this] { markHeaderChanged(); });
    connect(N1, &QAction::triggered, this, &TFMyw_jch::N1Click);
    connect(N2, &QAction::triggered, this, &TFMyw_jch::N2Click);
    // Any move to another line leaves the end of the lines.
    connect(&dm.DataKcmx, &Dataset::currentChanged, this, [this] { m_atEnd = false; });

    // A new document starts on its one empty line, at the end of the lines.
    m_atEnd = isNew && dm.DataKcmx.isActive() && dm.DataKcmx.state() == Dataset::State::Insert;
    if (isNew)
        setDate(QDate::currentDate());
}

TFMyw_jch::~TFMyw_jch() = default;

void TFMyw_jch::addColumns()
{
    m_goodsColumn = Grid->addColumn(kGoodsName, QStringLiteral("商品名称"), 140);
    Grid->setColumnEditButton(m_goodsColumn, true);
    const std::pair<const char *, const char *> lookedUp[] = {
        {"kcsp_splb", "商品类别"}, {"kcsp_spcd", "商品产地"}, {"kcsp_spdw", "计量单位"}};
    for (const auto &[field, title] : lookedUp) {
        const int c = Grid->addColumn(QString::fromUtf8(field), QString::fromUtf8(title), 64);
        Grid->setColumnReadOnly(c, true);
        Grid->setColumnTextColour(c, kLookedUpText);
    }
    const int sl = Grid->addColumn(QStringLiteral("sl"), QStringLiteral("数量"), 70);
    Grid->addColumn(QStringLiteral("dj"), QStringLiteral("单价"), 80);
    const int je = Grid->addColumn(QStringLiteral("je"), QStringLiteral("金额"), 96);
    Grid->addColumn(QStringLiteral("备注"), QStringLiteral("备注"), 90);
    Grid->setFooter(m_goodsColumn, FooterKind::Text, QStringLiteral("合计"));
    Grid->setFooter(sl, FooterKind::Sum);
    Grid->setFooter(je, FooterKind::Sum);
}

void TFMyw_jch::setSettled(bool settled)
{
    m_settled = settled;
    Bsave->setEnabled(!settled);
    Bprint->setEnabled(!settled);
    // Nothing typed into a settled document could be kept: it is shown, not edited.
    Grid->setReadOnly(settled);
    Grid->setColumnEditButton(m_goodsColumn, !settled);
    N1->setEnabled(!settled);
    N2->setEnabled(!settled);
    for (QWidget *w : {static_cast<QWidget *>(zdrq), static_cast<QWidget *>(dh), static_cast<QWidget *>(yw),
                       static_cast<QWidget *>(bz)})
        w->setEnabled(!settled);
    yjz->setVisible(settled);
    QPalette p = yjz->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    yjz->setPalette(p);
    if (settled)
        m_blink->start();
    else
        m_blink->stop();
}

void TFMyw_jch::blink()
{
    QPalette p = yjz->palette();
    const bool shown = p.color(QPalette::WindowText) == QColor(Qt::red);
    p.setColor(QPalette::WindowText, shown ? QColor(Qt::transparent) : QColor(Qt::red));
    yjz->setPalette(p);
}

bool TFMyw_jch::pickGoods(const QString &text)
{
    Dataset &goods = DataModKvl->DataKcsp;
    const QString listSql = goods.sql();
    const bool chosen = PickGoods(text, this);
    qint64 id = 0;
    Value price;
    if (chosen) {
        id = goods.value(QStringLiteral("id")).toInt();
        price = goods.value(m_kind == DocumentKind::Purchase ? QStringLiteral("参考进价") : QStringLiteral("参考销价"));
    }
    try {
        goods.setFiltered(false);
        // The picker offers the goods in use only; the lines' names are looked up in
        // every goods item, suspended ones included.
        if (goods.sql() != listSql) {
            goods.close();
            goods.setSql(listSql);
            goods.open();
        }
    } catch (const DbError &e) {
        Messages::warning(DbErrorText(e.message(), QStringLiteral("业务"), e.errors()), this);
    }
    if (!chosen)
        return false;
    Dataset &lines = *details();
    if (lines.state() == Dataset::State::Browse)
        lines.edit();
    lines.setValue(QStringLiteral("kcsp_id"), Value::integer(id));
    lines.setValue(QStringLiteral("dj"), price);
    return true;
}

void TFMyw_jch::GridEditButtonClick()
{
    if (Grid->isReadOnly())
        return;
    pickGoods(Grid->cellText(m_goodsColumn));
}

void TFMyw_jch::GridKeyPress()
{
    if (Grid->currentColumn() == m_goodsColumn)
        GridEditButtonClick();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(Grid, &tab);
}

void TFMyw_jch::GridColExit(int column)
{
    Dataset &lines = *details();
    if (!lines.isActive() || Grid->isReadOnly() || m_placing)
        return;
    const LineColumn left = LineColumnOf(Grid->fieldNameOf(column));
    const QString problem = ApplyLineArithmetic(lines, left);
    if (!problem.isEmpty()) {
        Messages::warning(problem, this);
    } else if (left == LineColumn::Remark && m_atEnd && LineHasGoods(lines) && !m_appendQueued) {
        // After the grid has moved on: the new line then stays where it is put.
        m_appendQueued = true;
        QMetaObject::invokeMethod(this, [this] {
            m_appendQueued = false;
            appendLine();
            Grid->setCurrentColumn(m_goodsColumn);
        }, Qt::QueuedConnection);
    }
    GridExit();
}

void TFMyw_jch::GridExit()
{
    Dataset &lines = *details();
    if (!lines.isActive() || lines.state() == Dataset::State::Browse || !lines.modified())
        return;
    try {
        lines.post();
    } catch (const DbError &e) {
        Messages::warning(e.message(), this);
        return;
    }
    markHeaderChanged();
}

void TFMyw_jch::markHeaderChanged()
{
    Dataset &h = *header();
    if (h.state() == Dataset::State::Browse)
        return;
    h.setValue(kNumber, Value(h.value(kNumber).toString().trimmed()));
}

void TFMyw_jch::appendLine()
{
    Dataset &lines = *details();
    GridExit();
    lines.append();
    m_atEnd = true;
}

void TFMyw_jch::N1Click()
{
    if (Grid->isReadOnly() || !details()->isActive() || !Grid->commitEdit())
        return;
    appendLine();
    Grid->setCurrentColumn(m_goodsColumn);
    Grid->setFocus(Qt::OtherFocusReason);
    GridEditButtonClick();
}

void TFMyw_jch::N2Click()
{
    Dataset &lines = *details();
    if (Grid->isReadOnly() || !lines.isActive() || !Grid->commitEdit())
        return;
    if (Messages::question(QStringLiteral("删除此记录吗?"), this) != QMessageBox::Yes || lines.recordCount() < 1)
        return;
    try {
        if (lines.state() == Dataset::State::Insert) {
            // A line not yet posted is only dropped.
            lines.cancel();
        } else {
            if (lines.recordCount() < 2)
                lines.first();
            if (!lines.isEmpty())
                lines.deleteRecord();
        }
    } catch (const DbError &e) {
        Messages::warning(e.message(), this);
        return;
    }
    markHeaderChanged();
}

void TFMyw_jch::staffChosen(qint64 staffId)
{
    if (header()->state() != Dataset::State::Browse)
        header()->setValue(QStringLiteral("xszg_id"), Value::integer(staffId));
}

DocumentSaveResult TFMyw_jch::save()
{
    if (!Grid->commitEdit() || !commitBoxes())
        return {DocumentSaveResult::Refused, QString(), -1, QString()};
    // As leaving the grid for the button does: the line being typed goes in.
    GridExit();
    // Lines posted by moving from one line to another changed the document too.
    if (details()->hasPendingChanges())
        markHeaderChanged();

    Dataset &h = *header();
    DocumentEntry entry;
    entry.kind = m_kind;
    entry.partnerId = m_partnerId;
    entry.date = date();
    // The field, not the box: a number is refused whole when it is too long, never cut.
    entry.number = h.value(kNumber).toString();
    entry.staffName = yw->text();
    entry.remark = h.value(QStringLiteral("备注")).toString();
    const DocumentSaveResult result = SaveDocument(h, *details(), entry, this);
    if (result.outcome == DocumentSaveResult::Refused && result.field != kNumber) {
        m_placing = true;
        Grid->setCurrentColumn(Grid->columnOfField(result.field));
        m_placing = false;
        Grid->setFocus(Qt::OtherFocusReason);
    } else if (result.outcome == DocumentSaveResult::Refused || result.outcome == DocumentSaveResult::Failed) {
        dh->setFocus(Qt::OtherFocusReason);
    }
    return result;
}

bool TFMyw_jch::saveDocument()
{
    const DocumentSaveResult result = save();
    // Only what the data file holds is printed: not after a refusal or a failed save.
    if (closeCode() == mrOk && result.closes()) {
        CurrentReportName = m_kind == DocumentKind::Purchase ? QStringLiteral("进货（应付款）单")
                                                             : QStringLiteral("出货（应收款）单");
        try {
            RunReport(*details(), true, false, QString());
        } catch (const DbError &e) {
            Messages::warning(DbErrorText(e.message(), QStringLiteral("业务"), e.errors()), this);
        }
    }
    return result.closes();
}

bool TFMyw_jch::canLeaveDocument()
{
    // As the focus leaving the controls would: what is being typed reaches its field.
    if (!Grid->commitEdit() || !commitBoxes())
        return false;
    GridExit();
    return CanLeaveDocument(*header(), *details(), m_settled, [this] { return save(); }, this);
}

bool TFMyw_jch::eventFilter(QObject *watched, QEvent *event)
{
    // Down on the last line goes past it: leaving 备注 there starts a new line.
    if (watched == Grid && event->type() == QEvent::KeyPress && !Grid->isEditing()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Dataset &lines = *details();
        if (key->key() == Qt::Key_Down && key->modifiers() == Qt::NoModifier && lines.isActive()
            && lines.currentIndex() == lines.recordCount() - 1) {
            m_atEnd = true;
            return true;
        }
    }
    return DocumentEditor::eventFilter(watched, event);
}

} // namespace kvl
