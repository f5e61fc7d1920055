// The statement of the unsettled statistics.
#include "UnsettledFilter.h"

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
    q.addLike(QStringLiteral("往来单位.单位编号 like :Vdw_bh"), QStringLiteral("Vdw_bh"), dwbh);
    q.addLike(QStringLiteral("往来单位.单位名称 like :Vdw_mc"), QStringLiteral("Vdw_mc"), dw);
    q.addLike(QStringLiteral("公司员工.员工姓名 like :Vyw_mc"), QStringLiteral("Vyw_mc"), yw);
    q.append(QStringLiteral(" AND (sfk_1.单号 IS NULL ) AND sfk.类别<>'结帐' order by sfk.id"));
    return q;
}

} // namespace kvl
