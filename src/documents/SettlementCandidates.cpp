// Queries of the settlement candidates.
#include "SettlementCandidates.h"

#include "Dataset.h"
#include "ProgramValues.h"

namespace kvl {

void PrepareSettlementCandidates(Dataset &candidates, qint64 partnerId, qint64 settlementId)
{
    candidates.close();
    candidates.clearParams();
    if (settlementId == 0) {
        candidates.setSql(DataSfkJzBaseSql
                          + QStringLiteral(" where (sfk.dw_id=:Vdw_id) and (sfk_1.单号 IS NULL ) AND sfk.类别<>'结帐' "
                                           "order by sfk.id"));
        candidates.setFilterText(QStringLiteral("结帐=False"));
    } else {
        candidates.setSql(DataSfkJzBaseSql
                          + QStringLiteral(" WHERE (((sfk_1.单号) Is Null) AND ((sfk.dw_id)=:Vdw_id) AND ((sfk.类别)<>'结帐')) "
                                           " UNION ")
                          + DataSfkJzBaseSql
                          + QStringLiteral(" WHERE  (((sfk.id) In (SELECT sfid_mx FROM jzmx AS jzmx_1 WHERE "
                                           "(((jzmx_1.sf_id)=:Vsfkid))))) ORDER BY sfk.id"));
        candidates.setParam(QStringLiteral("Vsfkid"), Value::integer(settlementId));
        candidates.setFilterText(QStringLiteral("(结帐=False) and (结帐单号=NULL)"));
    }
    candidates.setParam(QStringLiteral("Vdw_id"), Value::integer(partnerId));
    candidates.setFiltered(false);
    candidates.open();
}

} // namespace kvl
