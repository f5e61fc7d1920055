// The settlement editor: its links grid, picking and removing documents, the
// staff member, saving and printing.
#include "yw_jz.h"

#include "ButtonEdit.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "DbDateEdit.h"
#include "DbEdit.h"
#include "DocumentLeave.h"
#include "Messages.h"
#include "ModalResult.h"
#include "ModalRunner.h"
#include "ProgramValues.h"
#include "PurchaseRows.h"
#include "RunReport.h"
#include "SettlementLinks.h"
#include "SettlementSave.h"
#include "WaitCursor.h"
#include "datakvl.h"
#include "yw_jz_sfkd.h"

#include <QAction>
#include <QLineEdit>

#include <optional>

namespace kvl {

namespace {

Dataset &candidates() { return DataModKvl->DataSfk_jz; }
Dataset &links() { return DataModKvl->DataJzmx; }

bool isEmptyLinkRow(const Dataset &l)
{
    return l.state() == Dataset::State::Insert && !l.modified();
}

} // namespace

TFMyw_jz::TFMyw_jz(bool isNew, qint64 partnerId, QWidget *parent)
    : DocumentEditor(QStringLiteral("TFMyw_jz"), QStringLiteral("添加新的单据"), QStringLiteral("删除当前的单据"),
                     parent),
      m_partnerId(partnerId)
{
    setWindowTitle(isNew ? QStringLiteral("结帐录入") : QStringLiteral("修改结帐"));
    setHeading(QStringLiteral("结帐"), QColor(0xFF, 0x80, 0x00));
    bindDocument(&DataModKvl->DataSfk, &links());
    setUpGrid();
    if (isNew)
        setDate(QDate::currentDate());

    connect(Grid, &DataGrid::editButtonClicked, this, [this] { GridEditButtonClick(); });
    connect(Grid, &DataGrid::enterPressed, this, &TFMyw_jz::GridEditButtonClick);
    connect(Grid, &DataGrid::gridExited, this, &TFMyw_jz::GridExit);
    connect(N1, &QAction::triggered, this, &TFMyw_jz::N1Click);
    connect(N2, &QAction::triggered, this, &TFMyw_jz::N2Click);
    // A staff box cleared or typed over by hand is a change of the settlement too.
    connect(yw, &QLineEdit::textEdited, this, &TFMyw_jz::markHeaderChanged);
}

TFMyw_jz::~TFMyw_jz() = default;

void TFMyw_jz::setUpGrid()
{
    Grid->setToolTip(QStringLiteral("添加、删除单据，请在表格中单击鼠标右键。"));
    // Links only change through the picker and N2; the cells are for looking at.
    Grid->setReadOnly(true);
    const int date = Grid->addColumn(QStringLiteral("sfk_zdrq"), QStringLiteral("制单日期"), 100);
    Grid->addColumn(QStringLiteral("sfk_lb"), QStringLiteral("类别"), 60);
    Grid->addColumn(QStringLiteral("sfk_dh"), QStringLiteral("单号"), 110);
    Grid->addColumn(QStringLiteral("sfk_je_fk"), QStringLiteral("出货（应收款）金额"), 140);
    Grid->addColumn(QStringLiteral("sfk_je_sk"), QStringLiteral("进货（应付款）金额"), 140);
    const int amount = Grid->addColumn(QStringLiteral("sfk_je_jy"), QStringLiteral("本次结帐金额"), 130);
    for (int c = 0; c < Grid->gridColumnCount(); ++c)
        Grid->setColumnReadOnly(c, true);
    Grid->setColumnEditButton(date, true);
    Grid->setFooterRowCount(1);
    Grid->setFooter(date, FooterKind::Text, QStringLiteral("合计"));
    Grid->setFooter(amount, FooterKind::Sum);
    Grid->setRowColourHook(PurchasesInGreen(*Grid, QStringLiteral("sfk_lb")));
}

qint64 TFMyw_jz::netAmount() const
{
    return SettlementTotal(candidates(), links());
}

void TFMyw_jz::markHeaderChanged()
{
    Dataset &h = *header();
    if (h.state() == Dataset::State::Browse)
        h.edit();
    h.setValue(QStringLiteral("单号"), h.value(QStringLiteral("单号")).toString().trimmed());
}

void TFMyw_jz::dropEmptyLinkRow()
{
    if (isEmptyLinkRow(links()))
        links().cancel();
}

void TFMyw_jz::appendEmptyLinkRow()
{
    links().append();
    Grid->setCurrentColumn(0);
}

void TFMyw_jz::GridEditButtonClick()
{
    Dataset &c = candidates();
    c.setFiltered(true);
    if (c.isEmpty()) {
        c.setFiltered(false);
        Messages::warning(QStringLiteral("没有未结帐单据！"), this);
        return;
    }
    {
        std::optional<WaitCursor> wait(std::in_place);
        TFMyw_jz_sfkd picker(this);
        picker.prepare();
        wait.reset();
        if (ModalRunner::exec(picker) == mrOk && picker.chosen() && !c.isEmpty()) {
            LinkCandidate(c, links());
            markHeaderChanged();
        }
    }
    c.setFiltered(false);
    appendEmptyLinkRow();
}

void TFMyw_jz::N1Click()
{
    dropEmptyLinkRow();
    appendEmptyLinkRow();
    Grid->setFocus(Qt::OtherFocusReason);
    GridEditButtonClick();
}

void TFMyw_jz::N2Click()
{
    // The row that goes is the one the cursor shows when the question is asked.
    dropEmptyLinkRow();
    if (Messages::question(QStringLiteral("删除此记录吗?"), this) != QMessageBox::Yes || links().isEmpty())
        return;
    UnlinkCurrent(candidates(), links());
    markHeaderChanged();
}

void TFMyw_jz::GridExit()
{
    Dataset &l = links();
    if (l.state() != Dataset::State::Browse && l.modified()) {
        l.post();
        markHeaderChanged();
    }
}

void TFMyw_jz::staffChosen(qint64 staffId)
{
    header()->setValue(QStringLiteral("xszg_id"), Value::integer(staffId));
}

void TFMyw_jz::print()
{
    CurrentReportName = QStringLiteral("结帐单");
    RunReport(links(), true, false, QString());
}

DocumentSaveResult TFMyw_jz::save()
{
    if (!commitBoxes())
        return {DocumentSaveResult::Refused, QString(), -1, QString()};
    GridExit();
    Dataset &h = *header();
    DocumentEntry entry;
    entry.kind = DocumentKind::Settlement;
    entry.partnerId = m_partnerId;
    entry.date = date();
    entry.number = h.value(QStringLiteral("单号")).toString();
    entry.staffName = staffName();
    entry.remark = h.value(QStringLiteral("备注")).toString();
    entry.staffId = chosenStaffId();
    const DocumentSaveResult r = SaveSettlement(h, links(), candidates(), entry, this);
    if (r.outcome == DocumentSaveResult::Refused && r.field == QStringLiteral("sfk_zdrq")) {
        Grid->setCurrentColumn(0);
        Grid->setFocus(Qt::OtherFocusReason);
    } else if (r.outcome == DocumentSaveResult::Refused && r.field == QStringLiteral("制单日期")) {
        zdrq->setFocus(Qt::OtherFocusReason);
    } else if (!r.closes()) {
        dh->setFocus(Qt::OtherFocusReason);
    }
    return r;
}

bool TFMyw_jz::saveDocument()
{
    const DocumentSaveResult r = save();
    // Only what the data file holds is printed: not after a refusal or a failed save.
    if (closeCode() == mrOk && r.closes())
        print();
    return r.closes();
}

bool TFMyw_jz::canLeaveDocument()
{
    commitBoxes();
    GridExit();
    return CanLeaveSettlement(*header(), links(), [this] { return save(); }, this);
}

int TFMyw_jz::agreedCloseCode(int code) const
{
    // 保存 closes as 打印 does once the save went through, so the business window reloads.
    return code == mrYes ? mrOk : code;
}

} // namespace kvl
