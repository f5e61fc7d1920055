// What the goods in/out statistics window (进出商品统计) filters by: its two
// dates, the texts of its filter controls and CheckJZ, and the statement its
// refresh runs.
#pragma once

#include "StatisticsQuery.h"

#include <QDate>
#include <QString>

namespace kvl {

struct GoodsStatsFilter
{
    QDate qshrq;          // 起始日期
    QDate jzhrq;          // 截止日期
    QString lb;           // 类别
    QString dh;           // 单号
    QString dwbh;         // 单位编号
    QString dw;           // 单位名称
    QString yw;           // 员工姓名
    QString spbh;         // 商品编号
    QString spmc;         // 商品名称
    QString splb;         // 商品类别
    QString spcd;         // 商品产地
    bool checkJZ = false; // 不含已结帐单据

    // The window's opening state: 1 January of `today`'s year to `today`, no text, CheckJZ off.
    static GoodsStatsFilter defaults(const QDate &today = QDate::currentDate());

    // What DataTJ_sp runs: DataTJSpBaseSql (the lines with their document and
    // settlement; names are lookups) with the date range, a condition for each
    // filter that is not blank (a name filter as the set of ids whose name
    // matches), settlements left out, in document order and within a document in
    // the order the lines were entered. Both bounds are midnight of their day, as
    // the window has always counted: a document dated on 截止日期 after midnight
    // falls outside.
    StatisticsQuery query() const;

    // The same selection by the program's original statement, every name joined
    // per line, "order by sfk.id"; with BlankFilters::SkipBlank it gives the rows
    // and order query() gives. The yardstick query() is measured and checked against.
    StatisticsQuery joinedQuery(BlankFilters blank) const;
};

} // namespace kvl
