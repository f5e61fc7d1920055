// The statements of the goods in/out statistics.
#include "GoodsStatsFilter.h"

#include "BaseQueries.h"
#include "ProgramValues.h"

namespace kvl {

namespace {

// The original wording of the date range and the exclusion of settlements.
StatisticsQuery written(const GoodsStatsFilter &f)
{
    StatisticsQuery q(BaseQueries::dataTJSp()
                      + QStringLiteral(" where (sfk.制单日期>=:Vqshrq) and (sfk.制单日期<=:Vjzhrq) AND sfk.类别<>'结帐'"));
    q.bind(QStringLiteral("Vqshrq"), StatisticsQuery::midnight(f.qshrq));
    q.bind(QStringLiteral("Vjzhrq"), StatisticsQuery::midnight(f.jzhrq));
    return q;
}

} // namespace

GoodsStatsFilter GoodsStatsFilter::defaults(const QDate &today)
{
    GoodsStatsFilter f;
    f.qshrq = QDate(today.year(), 1, 1);
    f.jzhrq = today;
    return f;
}

StatisticsQuery GoodsStatsFilter::query() const
{
    StatisticsQuery q(DataTJSpBaseSql);
    q.whereDates(qshrq, jzhrq);
    q.append(QStringLiteral(" AND sfk.类别<>'结帐'"));
    q.addLike(QStringLiteral("sfk.类别 like :Vlb"), QStringLiteral("Vlb"), lb);
    q.addLike(QStringLiteral("sfk.单号 like :Vdh "), QStringLiteral("Vdh"), dh);
    q.addLike(QStringLiteral("sfk.dw_id IN (SELECT id FROM 往来单位 WHERE 单位编号 like :Vdw_bh)"), QStringLiteral("Vdw_bh"), dwbh);
    q.addLike(QStringLiteral("sfk.dw_id IN (SELECT id FROM 往来单位 WHERE 单位名称 like :Vdw_mc)"), QStringLiteral("Vdw_mc"), dw);
    q.addLike(QStringLiteral("sfk.xszg_id IN (SELECT id FROM 公司员工 WHERE 员工姓名 like :Vyw_mc)"), QStringLiteral("Vyw_mc"), yw);
    q.addLike(QStringLiteral("kcmx.kcsp_id IN (SELECT id FROM 商品资料 WHERE 商品编号 like :Vspbh)"), QStringLiteral("Vspbh"), spbh);
    q.addLike(QStringLiteral("kcmx.kcsp_id IN (SELECT id FROM 商品资料 WHERE 商品名称 like :Vspmc)"), QStringLiteral("Vspmc"), spmc);
    q.addLike(QStringLiteral("kcmx.kcsp_id IN (SELECT id FROM 商品资料 WHERE 商品类别 like :Vsplb)"), QStringLiteral("Vsplb"), splb);
    q.addLike(QStringLiteral("kcmx.kcsp_id IN (SELECT id FROM 商品资料 WHERE 商品产地 like :Vspcd)"), QStringLiteral("Vspcd"), spcd);
    if (checkJZ)
        q.append(QStringLiteral(" AND (sfk_1.单号 IS NULL)"));
    // The lines of a document in the order they were entered, which sfk.id leaves
    // open; a document settled twice over (only an imported file can hold one)
    // lists them once per settlement. It is the order the engine reads them in, so
    // it costs nothing.
    q.append(QStringLiteral(" order by sfk.id, jzmx.id, kcmx.id"));
    return q;
}

StatisticsQuery GoodsStatsFilter::joinedQuery(BlankFilters blank) const
{
    StatisticsQuery q = written(*this);
    q.addLike(QStringLiteral("sfk.类别 like :Vlb"), QStringLiteral("Vlb"), lb, blank);
    q.addLike(QStringLiteral("sfk.单号 like :Vdh "), QStringLiteral("Vdh"), dh, blank);
    q.addLike(QStringLiteral("往来单位.单位编号 like :Vdw_bh"), QStringLiteral("Vdw_bh"), dwbh, blank);
    q.addLike(QStringLiteral("往来单位.单位名称 like :Vdw_mc"), QStringLiteral("Vdw_mc"), dw, blank);
    // The staff condition was written only for a typed name, even originally.
    q.addLike(QStringLiteral("公司员工.员工姓名 like :Vyw_mc"), QStringLiteral("Vyw_mc"), yw);
    q.addLike(QStringLiteral("商品资料.商品编号 like :Vspbh"), QStringLiteral("Vspbh"), spbh, blank);
    q.addLike(QStringLiteral("商品资料.商品名称 like :Vspmc "), QStringLiteral("Vspmc"), spmc, blank);
    q.addLike(QStringLiteral("商品资料.商品类别 like :Vsplb"), QStringLiteral("Vsplb"), splb, blank);
    q.addLike(QStringLiteral("商品资料.商品产地 like :Vspcd"), QStringLiteral("Vspcd"), spcd, blank);
    q.append(checkJZ ? QStringLiteral(" AND (sfk_1.单号 IS NULL) order by sfk.id") : QStringLiteral(" order by sfk.id"));
    return q;
}

} // namespace kvl
