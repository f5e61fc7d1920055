// The statement of the unsettled statistics.
#include "UnsettledFilter.h"

#include "BaseQueries.h"
#include "ProgramValues.h"

namespace kvl {

UnsettledFilter UnsettledFilter::defaults(const QDate &today)
{
    UnsettledFilter f;
    f.qshrq = QDate(today.year(), 1, 1);
    f.jzhrq = today;
    return f;
}

StatisticsQuery UnsettledFilter::query() const
{
    StatisticsQuery q(DataTJYskBaseSql);
    q.whereDates(qshrq, jzhrq);
    q.addLike(QStringLiteral("sfk.类别 like :Vlb"), QStringLiteral("Vlb"), lb);
    q.addLike(QStringLiteral("sfk.单号 like :Vdh "), QStringLiteral("Vdh"), dh);
    q.addLike(QStringLiteral("sfk.备注 like :Vbz"), QStringLiteral("Vbz"), bz);
    q.addLike(QStringLiteral("sfk.dw_id IN (SELECT id FROM 往来单位 WHERE 单位编号 like :Vdw_bh)"), QStringLiteral("Vdw_bh"), dwbh);
    q.addLike(QStringLiteral("sfk.dw_id IN (SELECT id FROM 往来单位 WHERE 单位名称 like :Vdw_mc)"), QStringLiteral("Vdw_mc"), dw);
    q.addLike(QStringLiteral("sfk.xszg_id IN (SELECT id FROM 公司员工 WHERE 员工姓名 like :Vyw_mc)"), QStringLiteral("Vyw_mc"), yw);
    q.append(QStringLiteral(" AND (sfk_1.单号 IS NULL ) AND sfk.类别<>'结帐' order by sfk.id"));
    return q;
}

StatisticsQuery UnsettledFilter::joinedQuery(BlankFilters blank) const
{
    StatisticsQuery q(BaseQueries::dataTJYsk()
                      + QStringLiteral(" where (sfk.制单日期>=:Vqshrq) and (sfk.制单日期<=:Vjzhrq)"));
    q.bind(QStringLiteral("Vqshrq"), StatisticsQuery::midnight(qshrq));
    q.bind(QStringLiteral("Vjzhrq"), StatisticsQuery::midnight(jzhrq));
    q.addLike(QStringLiteral("sfk.类别 like :Vlb"), QStringLiteral("Vlb"), lb, blank);
    q.addLike(QStringLiteral("sfk.单号 like :Vdh "), QStringLiteral("Vdh"), dh, blank);
    q.addLike(QStringLiteral("sfk.备注 like :Vbz"), QStringLiteral("Vbz"), bz, blank);
    q.addLike(QStringLiteral("往来单位.单位编号 like :Vdw_bh"), QStringLiteral("Vdw_bh"), dwbh, blank);
    q.addLike(QStringLiteral("往来单位.单位名称 like :Vdw_mc"), QStringLiteral("Vdw_mc"), dw, blank);
    // The staff condition was written only for a typed name, even originally.
    q.addLike(QStringLiteral("公司员工.员工姓名 like :Vyw_mc"), QStringLiteral("Vyw_mc"), yw);
    q.append(QStringLiteral(" AND (sfk_1.单号 IS NULL ) AND sfk.类别<>'结帐' order by sfk.id"));
    return q;
}

} // namespace kvl
