// Picking documents into a settlement and taking them out again.
#include "SettlementLinks.h"

#include "Dataset.h"

namespace kvl {

namespace {

// Sets a candidate's field in memory; the candidates are never written back.
void mark(Dataset &candidates, const QString &field, const Value &v)
{
    candidates.edit();
    candidates.setValue(field, v);
    candidates.post();
}

} // namespace

void LinkCandidate(Dataset &candidates, Dataset &links)
{
    const Value id = candidates.value(QStringLiteral("id"));
    if (links.state() != Dataset::State::Browse && !links.modified())
        links.cancel();
    else if (links.state() != Dataset::State::Browse)
        links.post();
    links.append();
    links.setValue(QStringLiteral("sfid_mx"), id);
    links.post();
    mark(candidates, QStringLiteral("结帐"), Value::boolean(true));
}

void UnlinkCurrent(Dataset &candidates, Dataset &links)
{
    if (links.state() != Dataset::State::Browse && !links.modified())
        links.cancel();
    if (links.isEmpty())
        return;
    if (links.recordCount() < 2)
        links.first();
    const Value picked = links.value(QStringLiteral("sfid_mx"));
    const bool wasFiltered = candidates.filtered();
    candidates.setFiltered(false);
    if (!picked.isNull() && candidates.locate(QStringLiteral("id"), picked)) {
        candidates.edit();
        candidates.setValue(QStringLiteral("结帐"), Value::boolean(false));
        candidates.setValue(QStringLiteral("结帐单号"), Value());
        candidates.post();
    }
    candidates.setFiltered(wasFiltered);
    links.deleteRecord();
}

qint64 SettlementTotal(Dataset &candidates, Dataset &links)
{
    qint64 total = 0;
    const bool wasFiltered = candidates.filtered();
    candidates.setFiltered(false);
    for (int i = 0; i < links.recordCount(); ++i) {
        const Value picked = links.valueAt(i, links.fieldIndex(QStringLiteral("sfid_mx")));
        if (picked.isNull() || !candidates.locate(QStringLiteral("id"), picked))
            continue;
        total += candidates.value(QStringLiteral("应收款金额（出货）")).moneyUnits()
               - candidates.value(QStringLiteral("结帐、应付款金额（进货）")).moneyUnits();
    }
    candidates.setFiltered(wasFiltered);
    return total;
}

} // namespace kvl
