// The goods in/out statistics window.
#include "yw_tj_sp.h"

#include "ButtonEdit.h"
#include "CodeTablePicker.h"
#include "DataGrid.h"
#include "Dataset.h"
#include "PickMode.h"
#include "ReportVariables.h"
#include "StatisticsRefresh.h"
#include "datakvl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QDateEdit>
#include <QLineEdit>

namespace kvl {

namespace {

void addColumns(DataGrid &g)
{
    // The count under 类别 and the amount columns' totals fit for years of data.
    const int count = StatisticsWindow::countWidth(g), total = StatisticsWindow::totalWidth(g);
    const int first = g.addColumn(QStringLiteral("制单日期"));
    const std::pair<const char *, int> names[] = {{"类别", count},  {"单号", 0},      {"单位编号", 0},
                                                  {"单位名称", 150}, {"商品编号", 0},   {"商品名称", 150},
                                                  {"商品类别", 0},   {"商品产地", 0},   {"计量单位", 0}};
    for (const auto &[field, width] : names)
        g.addColumn(QString::fromUtf8(field), {}, width);
    const int sl = g.addColumn(QStringLiteral("sl"), QStringLiteral("数量"), 110);
    g.addColumn(QStringLiteral("dj"), QStringLiteral("单价"));
    const int out = g.addColumn(QStringLiteral("出货（应收款）金额"), {}, total);
    const int in = g.addColumn(QStringLiteral("进货（应付款）金额"), {}, total);
    const int balance = g.addColumn(QStringLiteral("应收款余额"), {}, total);
    for (const char *field : {"备注", "员工姓名", "结帐单号"})
        g.addColumn(QString::fromUtf8(field));
    g.setFooterRowCount(1);
    g.setFooter(first, FooterKind::Text, QStringLiteral("合计"));
    g.setFooter(first + 1, FooterKind::Count);
    for (int c : {sl, out, in, balance})
        g.setFooter(c, FooterKind::Sum);
    // Settled lines on light orange, purchases in green.
    g.setRowColourHook([&g](int row) {
        RowColours c;
        Dataset *d = g.dataset();
        if (!d)
            return c;
        if (!d->valueAt(row, d->fieldIndex(QStringLiteral("结帐单号"))).toString().trimmed().isEmpty())
            c.background = QColor(255, 198, 140);
        if (d->valueAt(row, d->fieldIndex(QStringLiteral("类别"))).toString() == QStringLiteral("进货"))
            c.text = QColor(0, 128, 0);
        return c;
    });
}

} // namespace

TFMyw_tj_sp::TFMyw_tj_sp(QWidget *parent) : StatisticsWindow(title(), DataModKvl->DataTJ_sp, parent)
{
    setObjectName(QStringLiteral("FMyw_tj_sp"));
    lb = new QComboBox(this);
    lb->setObjectName(QStringLiteral("lb"));
    lb->addItems({QString(), QStringLiteral("出货"), QStringLiteral("进货")});
    addFilterWidget(lb, QStringLiteral("类别"), 0, 2);
    connect(lb, &QComboBox::currentIndexChanged, this, &StatisticsWindow::qshrqChange);
    dh = addTextFilter(QStringLiteral("dh"), QStringLiteral("单号"), 0, 3);
    dwbh = addPickFilter(QStringLiteral("dwbh"), QStringLiteral("单位编号"), 1, 0, [this] { dwbhButtonClick(); });
    dw = addPickFilter(QStringLiteral("dw"), QStringLiteral("单位名称"), 1, 1, [this] { dwButtonClick(); });
    yw = addPickFilter(QStringLiteral("yw"), QStringLiteral("员工姓名"), 1, 2, [this] { ywButtonClick(); });
    CheckJZ = new QCheckBox(QStringLiteral("不含已结帐单据(&X)"), this);
    CheckJZ->setObjectName(QStringLiteral("CheckJZ"));
    m_filters->addWidget(CheckJZ, 1, 7);
    chainFocus(CheckJZ);
    connect(CheckJZ, &QCheckBox::clicked, this, &StatisticsWindow::qshrqChange);
    spbh = addPickFilter(QStringLiteral("spbh"), QStringLiteral("商品编号"), 2, 0, [this] { spbhButtonClick(); });
    spmc = addPickFilter(QStringLiteral("spmc"), QStringLiteral("商品名称"), 2, 1, [this] { spmcButtonClick(); });
    splb = addPickFilter(QStringLiteral("splb"), QStringLiteral("商品类别"), 2, 2, [this] { splbButtonClick(); });
    spcd = addPickFilter(QStringLiteral("spcd"), QStringLiteral("商品产地"), 2, 3, [this] { spcdButtonClick(); });

    addColumns(*Grid);

    addReport(QStringLiteral("N2"), QStringLiteral("进出商品明细表"), false, {});
    addReport(QStringLiteral("N3"), QStringLiteral("进出商品汇总表－往来单位"), true, QStringLiteral("单位名称"));
    addReport(QStringLiteral("N5"), QStringLiteral("进出商品汇总表－单号"), true, QStringLiteral("单号"));
    addReport(QStringLiteral("N27"), QStringLiteral("进出商品汇总表－商品"), true, QStringLiteral("商品名称"));
    addReport(QStringLiteral("N1"), QStringLiteral("进出商品汇总表－业务员"), true, QStringLiteral("员工姓名"));
}

GoodsStatsFilter TFMyw_tj_sp::filter() const
{
    GoodsStatsFilter f;
    f.qshrq = qshrq->date();
    f.jzhrq = jzhrq->date();
    f.lb = lb->currentText();
    f.dh = dh->text();
    f.dwbh = dwbh->text();
    f.dw = dw->text();
    f.yw = yw->text();
    f.spbh = spbh->text();
    f.spmc = spmc->text();
    f.splb = splb->text();
    f.spcd = spcd->text();
    f.checkJZ = CheckJZ->isChecked();
    return f;
}

void TFMyw_tj_sp::runRefresh()
{
    refreshGoodsStats(filter());
}

void TFMyw_tj_sp::beforeReport()
{
    const QString partner = dw->text().trimmed();
    ReportVars.insert(QStringLiteral("单位名"), Value(partner.isEmpty() ? QStringLiteral("全部往来单位") : partner));
    ReportVars.insert(QStringLiteral("起始日期"), ReportDayCount(qshrq->date()));
    ReportVars.insert(QStringLiteral("截止日期"), ReportDayCount(jzhrq->date()));
}

void TFMyw_tj_sp::dwButtonClick()
{
    takePicked(dw, PickPartner(dw->text(), this), DataModKvl->DataDm_dw, QStringLiteral("单位名称"));
}

void TFMyw_tj_sp::dwbhButtonClick()
{
    takePicked(dwbh, PickPartner(dw->text(), this), DataModKvl->DataDm_dw, QStringLiteral("单位编号"));
}

void TFMyw_tj_sp::ywButtonClick()
{
    takePicked(yw, PickStaff(yw->text(), this), DataModKvl->DataDm_zg, QStringLiteral("员工姓名"));
}

void TFMyw_tj_sp::spmcButtonClick()
{
    takePicked(spmc, PickGoods(spmc->text(), this), DataModKvl->DataKcsp, QStringLiteral("商品名称"));
}

void TFMyw_tj_sp::spbhButtonClick()
{
    // Goods are searched by name; the code follows from the item found.
    takePicked(spbh, PickGoods(spmc->text(), this), DataModKvl->DataKcsp, QStringLiteral("商品编号"));
}

void TFMyw_tj_sp::splbButtonClick()
{
    takePicked(splb, PickCodeTableValue(QStringLiteral("商品类别"), splb->text(), this));
}

void TFMyw_tj_sp::spcdButtonClick()
{
    takePicked(spcd, PickCodeTableValue(QStringLiteral("商品产地"), spcd->text(), this));
}

} // namespace kvl
