// 未结帐统计: the open shipments and purchases over a date range and filters,
// with totals and eight reports.
#pragma once

#include "StatisticsWindow.h"
#include "UnsettledFilter.h"

class QComboBox;
class QTimer;

namespace kvl {

class TFMyw_tj_wjz : public StatisticsWindow
{
    Q_OBJECT
public:
    explicit TFMyw_tj_wjz(QWidget *parent = nullptr);

    static QString title() { return QStringLiteral("未结帐统计"); }
    // The filter as the controls stand.
    UnsettledFilter filter() const;
    QLabel *emptyLabel() const { return myysk; }

    void statusUpdate() override;

    void dwButtonClick();
    void dwbhButtonClick();
    void ywButtonClick();

protected:
    void runRefresh() override;

private:
    QComboBox *lb;
    QLineEdit *dh;
    QLineEdit *bz;
    ButtonEdit *dwbh;
    ButtonEdit *dw;
    ButtonEdit *yw;
    QLabel *myysk;
    QTimer *m_blink;
};

} // namespace kvl
