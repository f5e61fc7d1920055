// The save of a settlement.
#include "SettlementSave.h"

#include "Dataset.h"
#include "DatasetFreeze.h"
#include "DocumentNumber.h"
#include "DocumentWrite.h"
#include "Messages.h"
#include "SettlementLinks.h"

namespace kvl {

namespace {

// Untouched empty link rows (left by the picker for the next choice) are no links.
void dropEmptyLinks(Dataset &links)
{
    if (links.state() != Dataset::State::Browse) {
        if (links.modified())
            links.post();
        else
            links.cancel();
    }
    for (int i = links.recordCount() - 1; i >= 0; --i) {
        links.moveTo(i);
        if (links.value(QStringLiteral("sfid_mx")).isNull())
            links.deleteRecord();
    }
    links.first();
}

} // namespace

DocumentSaveResult SaveSettlement(Dataset &header, Dataset &links, Dataset &candidates, const DocumentEntry &entry,
                                  QWidget *parent)
{
    if (!header.modified()) {
        header.cancel();
        return {};
    }
    DatasetFreeze frozen(links);
    dropEmptyLinks(links);
    if (links.isEmpty()) {
        const QString message = QStringLiteral("请添加未结帐单据！");
        Messages::warning(message, parent);
        return {DocumentSaveResult::Refused, message, -1, QStringLiteral("sfk_zdrq")};
    }
    // A settlement without a date would drop out of every list that starts from a date.
    if (!entry.date.isValid()) {
        const QString message = QStringLiteral("请录入制单日期！");
        Messages::warning(message, parent);
        return {DocumentSaveResult::Refused, message, -1, QStringLiteral("制单日期")};
    }
    if (std::optional<DocumentSaveResult> refused = WriteHeaderTexts(header, entry, parent))
        return *refused;
    if (entry.staffName.trimmed().isEmpty())
        header.setValue(QStringLiteral("xszg_id"), Value());
    else if (entry.staffId > 0)
        header.setValue(QStringLiteral("xszg_id"), Value::integer(entry.staffId));
    const qint64 total = SettlementTotal(candidates, links);
    return WriteDocument(header, links, NumberedRow::Settlement, [&](bool isNew) {
        if (isNew)
            header.setValue(QStringLiteral("类别"), QStringLiteral("结帐"));
        header.setValue(QStringLiteral("应收款金额（出货）"), Value::money(0));
        header.setValue(QStringLiteral("结帐、应付款金额（进货）"), Value::money(total));
        header.setValue(QStringLiteral("制单日期"), Value::dateTime(entry.date.startOfDay()));
        header.setValue(QStringLiteral("dw_id"), Value::integer(entry.partnerId));
    }, parent);
}

} // namespace kvl
