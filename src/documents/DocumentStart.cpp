// Preparing the data module's datasets for the document editors.
#include "DocumentStart.h"

#include "Dataset.h"
#include "DocumentNumber.h"
#include "ProgramValues.h"
#include "SettlementCandidates.h"
#include "datakvl.h"

namespace kvl {

namespace {

void reopen(Dataset &ds, const QString &sql, qint64 documentId = -1)
{
    ds.close();
    ds.clearParams();
    ds.setSql(sql);
    if (documentId >= 0)
        ds.setParam(QStringLiteral("sfkid"), Value::integer(documentId));
    ds.open();
}

} // namespace

void StartNewDocument(DocumentKind kind, qint64 partnerId)
{
    TDataModKvl &dm = *DataModKvl;
    dm.DataSfk.append();
    if (kind == DocumentKind::Settlement) {
        PrepareSettlementCandidates(dm.DataSfk_jz, partnerId);
        reopen(dm.DataJzmx, QStringLiteral("select * from jzmx where id=0 and id<0"));
    } else {
        reopen(dm.DataKcmx, QStringLiteral("select * from kcmx where id=0 and id<0"));
    }
    dm.DataSfk.setValue(QStringLiteral("单号"), ProposeDocumentNumber(kind));
}

void StartEditDocument(qint64 partnerId)
{
    TDataModKvl &dm = *DataModKvl;
    const qint64 id = dm.DataSfk.value(QStringLiteral("id")).toInt();
    if (dm.DataSfk.value(QStringLiteral("类别")).toString() == QStringLiteral("结帐")) {
        dm.DataSfk.edit();
        PrepareSettlementCandidates(dm.DataSfk_jz, partnerId, id);
        reopen(dm.DataJzmx, QStringLiteral("select * from jzmx where jzmx.sf_id= :sfkid"), id);
        dm.DataJzmx.first();
    } else {
        reopen(dm.DataKcmx, DataKcmxBaseSql + QStringLiteral(" where kcmx.sf_id= :sfkid"), id);
        dm.DataKcmx.first();
        dm.DataSfk.edit();
    }
}

} // namespace kvl
