// The unsettled statistics window.
#include "yw_tj_wjz.h"

#include "ButtonEdit.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "PickMode.h"
#include "StatisticsRefresh.h"
#include "datakvl.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace kvl {

namespace {

void addColumns(DataGrid &g)
{
    // The count under 类别 and the amount columns' totals fit for years of data.
    const int count = StatisticsWindow::countWidth(g), total = StatisticsWindow::totalWidth(g);
    const std::pair<const char *, int> columns[] = {{"制单日期", 0}, {"类别", count}, {"单号", 0}, {"单位编号", 0},
                                                    {"单位名称", 170}, {"应收款金额（出货）", total},
                                                    {"结帐、应付款金额（进货）", total}, {"应收款余额", total},
                                                    {"员工姓名", 0}, {"备注", 150}};
    for (const auto &[field, width] : columns)
        g.addColumn(QString::fromUtf8(field), {}, width);
    g.setFooterRowCount(1);
    g.setFooter(0, FooterKind::Text, QStringLiteral("合计"));
    g.setFooter(1, FooterKind::Count);
    for (int c : {5, 6, 7})
        g.setFooter(c, FooterKind::Sum);
    // 进货 rows are payables: green, as on every list of the program.
    g.setRowColourHook([&g](int row) {
        RowColours c;
        if (Dataset *d = g.dataset(); d && d->valueAt(row, d->fieldIndex(QStringLiteral("类别"))).toString() == QStringLiteral("进货"))
            c.text = QColor(0, 128, 0);
        return c;
    });
}

} // namespace

TFMyw_tj_wjz::TFMyw_tj_wjz(QWidget *parent)
    : StatisticsWindow(title(), DataModKvl->DataTJ_ysk, parent)
{
    setObjectName(QStringLiteral("FMyw_tj_wjz"));
    lb = new QComboBox(this);
    lb->setObjectName(QStringLiteral("lb"));
    lb->addItems({QString(), QStringLiteral("出货"), QStringLiteral("进货")});
    addFilterWidget(lb, QStringLiteral("类别"), 0, 2);
    connect(lb, &QComboBox::currentIndexChanged, this, &StatisticsWindow::qshrqChange);
    dh = addTextFilter(QStringLiteral("dh"), QStringLiteral("单号"), 0, 3);
    bz = addTextFilter(QStringLiteral("bz"), QStringLiteral("备注"), 1, 0);
    dwbh = addPickFilter(QStringLiteral("dwbh"), QStringLiteral("单位编号"), 1, 1,
                         [this] { dwbhButtonClick(); });
    dw = addPickFilter(QStringLiteral("dw"), QStringLiteral("单位名称"), 1, 2,
                       [this] { dwButtonClick(); });
    yw = addPickFilter(QStringLiteral("yw"), QStringLiteral("员工姓名"), 1, 3,
                       [this] { ywButtonClick(); });

    myysk = new QLabel(QStringLiteral("    没有应收款！"), m_toolbarRow);
    myysk->setObjectName(QStringLiteral("myysk"));
    myysk->setFrameStyle(QFrame::Panel | QFrame::Raised);
    myysk->setLineWidth(2);
    QFont f = myysk->font();
    f.setBold(true);
    myysk->setFont(f);
    myysk->hide();
    static_cast<QHBoxLayout *>(m_toolbarRow->layout())->insertWidget(5, myysk);
    m_blink = new QTimer(this);
    m_blink->setInterval(500);
    connect(m_blink, &QTimer::timeout, this, [this] {
        const bool red = myysk->property("lit").toBool();
        myysk->setProperty("lit", !red);
        myysk->setStyleSheet(red ? QStringLiteral("color: transparent;") : QStringLiteral("color: red;"));
    });
    myysk->setStyleSheet(QStringLiteral("color: red;"));

    addColumns(*Grid);

    addReport(QStringLiteral("N5"), QStringLiteral("未结帐明细表"), false, {});
    addReport(QStringLiteral("N1"), QStringLiteral("未结帐汇总表－往来单位"), true, QStringLiteral("单位名称"));
    addReport(QStringLiteral("N10"), QStringLiteral("未结帐汇总表－业务员"), true, QStringLiteral("员工姓名"));
    addReport(QStringLiteral("MenuItem2"), QStringLiteral("未结帐汇总表－类别"), true, QStringLiteral("类别"));
    addReport(QStringLiteral("N2"), QStringLiteral("未结帐汇总表－往来单位＋业务员"), true, QStringLiteral("单位名称,员工姓名"));
    addReport(QStringLiteral("N3"), QStringLiteral("未结帐汇总表－往来单位＋类别"), true, QStringLiteral("单位名称,类别"));
    addReport(QStringLiteral("N4"), QStringLiteral("未结帐汇总表－业务员＋往来单位"), true, QStringLiteral("员工姓名,单位名称"));
    addReport(QStringLiteral("N6"), QStringLiteral("未结帐汇总表－业务员＋类别"), true, QStringLiteral("员工姓名,类别"));
}

UnsettledFilter TFMyw_tj_wjz::filter() const
{
    UnsettledFilter f;
    f.qshrq = qshrq->date();
    f.jzhrq = jzhrq->date();
    f.lb = lb->currentText();
    f.dh = dh->text();
    f.bz = bz->text();
    f.dwbh = dwbh->text();
    f.dw = dw->text();
    f.yw = yw->text();
    return f;
}

void TFMyw_tj_wjz::runRefresh()
{
    refreshUnsettled(filter());
}

void TFMyw_tj_wjz::statusUpdate()
{
    StatisticsWindow::statusUpdate();
    if (m_data.isActive()) {
        myysk->setVisible(m_data.recordCount() == 0);
        if (myysk->isVisibleTo(this))
            m_blink->start();
        else
            m_blink->stop();
    }
}

void TFMyw_tj_wjz::dwButtonClick()
{
    takePicked(dw, PickPartner(dw->text(), this), DataModKvl->DataDm_dw, QStringLiteral("单位名称"));
}

void TFMyw_tj_wjz::dwbhButtonClick()
{
    // The partner list opens on the name typed, which is what users search by.
    takePicked(dwbh, PickPartner(dw->text(), this), DataModKvl->DataDm_dw, QStringLiteral("单位编号"));
}

void TFMyw_tj_wjz::ywButtonClick()
{
    takePicked(yw, PickStaff(yw->text(), this), DataModKvl->DataDm_zg, QStringLiteral("员工姓名"));
}

} // namespace kvl
