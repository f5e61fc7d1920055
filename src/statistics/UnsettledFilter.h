// What the unsettled statistics window (未结帐统计) filters by: its two dates
// and the texts of its filter controls, and the statement its refresh runs.
#pragma once

#include "StatisticsQuery.h"

#include <QDate>
#include <QString>

namespace kvl {

struct UnsettledFilter
{
    QDate qshrq;    // 起始日期
    QDate jzhrq;    // 截止日期
    QString lb;     // 类别
    QString dh;     // 单号
    QString bz;     // 备注
    QString dwbh;   // 单位编号
    QString dw;     // 单位名称
    QString yw;     // 员工姓名

    // The window's opening state: 1 January of `today`'s year to `today`, no text.
    static UnsettledFilter defaults(const QDate &today = QDate::currentDate());

    // DataTJYskBaseSql (the documents with their balance; names are lookups) with
    // the date range, a condition for each filter that is not blank (a name filter
    // as the set of ids whose name matches), the open shipments and purchases
    // only, in document order.
    // Both bounds are midnight of their day: a document dated on 截止日期 with a
    // time of day after midnight falls outside, as the window has always counted.
    StatisticsQuery query() const;

    // The same selection by the program's original statement, the partner and
    // staff names joined, "order by sfk.id"; with BlankFilters::SkipBlank it gives
    // the rows query() gives. The yardstick query() is measured and checked against.
    StatisticsQuery joinedQuery(BlankFilters blank) const;
};

} // namespace kvl
