// 进出商品统计: the goods lines of shipments and purchases over a date range and
// filters, with quantity and amount totals and five reports.
#pragma once

#include "GoodsStatsFilter.h"
#include "StatisticsWindow.h"

class QCheckBox;
class QComboBox;

namespace kvl {

class TFMyw_tj_sp : public StatisticsWindow
{
    Q_OBJECT
public:
    explicit TFMyw_tj_sp(QWidget *parent = nullptr);

    static QString title() { return QStringLiteral("进出商品统计"); }
    GoodsStatsFilter filter() const;

    void dwButtonClick();
    void dwbhButtonClick();
    void ywButtonClick();
    void spmcButtonClick();
    void spbhButtonClick();
    void splbButtonClick();
    void spcdButtonClick();

protected:
    void runRefresh() override;
    // "单位名", "起始日期", "截止日期" for the templates.
    void beforeReport() override;

private:
    QComboBox *lb;
    QLineEdit *dh;
    ButtonEdit *dwbh;
    ButtonEdit *dw;
    ButtonEdit *yw;
    ButtonEdit *spbh;
    ButtonEdit *spmc;
    ButtonEdit *splb;
    ButtonEdit *spcd;
    QCheckBox *CheckJZ;
};

} // namespace kvl
