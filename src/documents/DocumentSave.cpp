// The save of a shipment or purchase: checks in the clerk's order, then one
// transaction for the counters, the header and every line.
#include "DocumentSave.h"

#include "Dataset.h"
#include "DatasetFreeze.h"
#include "DocumentNumber.h"
#include "DocumentWrite.h"
#include "Messages.h"

#include <limits>
#include <optional>

namespace kvl {

namespace {

const QString kGoods = QStringLiteral("kcsp_spmc");
const QString kGoodsId = QStringLiteral("kcsp_id");
const QString kQuantity = QStringLiteral("sl");
const QString kPrice = QStringLiteral("dj");
const QString kAmount = QStringLiteral("je");
const QString kRemark = QStringLiteral("备注");

bool blankText(const Value &v)
{
    return v.isNull() || v.toString().trimmed().isEmpty();
}

bool nullOrZero(const Value &v)
{
    return v.isNull() || v.moneyUnits() == 0;
}

bool lineWithoutGoods(const Dataset &lines)
{
    return blankText(lines.value(kGoods)) || lines.value(kGoodsId).isNull();
}

bool blankLine(const Dataset &lines)
{
    return lineWithoutGoods(lines) && nullOrZero(lines.value(kQuantity)) && nullOrZero(lines.value(kPrice))
        && nullOrZero(lines.value(kAmount)) && blankText(lines.value(kRemark));
}

// A null figure counts as 0 and is written as 0, as the clerk sees it.
qint64 figure(Dataset &lines, const QString &field)
{
    if (!lines.value(field).isNull())
        return lines.value(field).moneyUnits();
    if (lines.state() == Dataset::State::Browse)
        lines.edit();
    lines.setValue(field, Value::money(0));
    return 0;
}

// Ends the line being typed: an edited line goes into the batch; the empty
// line a new document starts with counts as a line (and fails as one).
void settleCurrentLine(Dataset &lines)
{
    if (lines.state() == Dataset::State::Browse)
        return;
    if (lines.modified() || (lines.state() == Dataset::State::Insert && lines.recordCount() == 1))
        lines.post();
    else
        lines.cancel();
}

DocumentSaveResult refuse(Dataset &lines, const QString &message, int line, const QString &field, QWidget *parent)
{
    Messages::warning(message, parent);
    if (line >= 0 && line < lines.recordCount())
        lines.moveTo(line);
    if (lines.state() == Dataset::State::Browse && !lines.isEmpty())
        lines.edit();
    return {DocumentSaveResult::Refused, message, line, field};
}

const qint64 kTotalLimit = qint64(100000000) * 10000;

// Checks the lines in order; on success `total` holds the sum of the amounts.
std::optional<DocumentSaveResult> checkLines(Dataset &lines, qint64 *total, QWidget *parent)
{
    const QString noLines = QStringLiteral("请添加商品明细！");
    settleCurrentLine(lines);
    lines.first();
    if (lines.isEmpty())
        return refuse(lines, noLines, -1, kGoods, parent);
    if (lines.recordCount() >= 2) {
        lines.last();
        if (blankLine(lines))
            lines.deleteRecord();
    }
    qint64 sum = 0;
    for (int i = 0; i < lines.recordCount(); ++i) {
        lines.moveTo(i);
        if (lineWithoutGoods(lines))
            return refuse(lines, QStringLiteral("请选择商品资料！"), i, kGoods, parent);
        if (figure(lines, kQuantity) <= 0)
            return refuse(lines, QStringLiteral("数量要大于０，请录入正确的数量！"), i, kQuantity, parent);
        if (figure(lines, kPrice) <= 0)
            return refuse(lines, QStringLiteral("商品单价要大于０，请录入正确的单价！"), i, kPrice, parent);
        const qint64 amount = figure(lines, kAmount);
        if (__builtin_add_overflow(sum, amount, &sum))
            sum = amount < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
        if (lines.state() != Dataset::State::Browse && lines.modified())
            lines.post();
    }
    const int last = lines.recordCount() - 1;
    if (sum <= 0)
        return refuse(lines, QStringLiteral("合计金额要大于０，请录入正确的金额！"), last, kAmount, parent);
    if (sum > kTotalLimit)
        return refuse(lines, QStringLiteral("合计金额超出系统充许范围，请录入正确的数量和单价！"), last, kAmount,
                      parent);
    if (lines.isEmpty())
        return refuse(lines, noLines, -1, kGoods, parent);
    *total = sum;
    return std::nullopt;
}

} // namespace

std::optional<DocumentSaveResult> WriteHeaderTexts(Dataset &header, const DocumentEntry &entry, QWidget *parent)
{
    const QString number = entry.number.trimmed();
    const QString tooLong = DocumentNumberProblem(number);
    if (!tooLong.isEmpty()) {
        Messages::warning(tooLong, parent);
        return DocumentSaveResult{DocumentSaveResult::Refused, tooLong, -1, QStringLiteral("单号")};
    }
    header.setValue(QStringLiteral("单号"), number);
    const QString remark = entry.remark.trimmed();
    header.setValue(QStringLiteral("备注"), remark.isEmpty() ? Value() : Value(remark));
    return std::nullopt;
}

DocumentSaveResult SaveDocument(Dataset &header, Dataset &lines, const DocumentEntry &entry, QWidget *parent)
{
    if (!header.modified()) {
        header.cancel();
        return {};
    }
    DatasetFreeze frozen(lines);
    qint64 total = 0;
    if (std::optional<DocumentSaveResult> refused = checkLines(lines, &total, parent))
        return *refused;

    if (std::optional<DocumentSaveResult> refused = WriteHeaderTexts(header, entry, parent))
        return *refused;
    if (entry.staffName.trimmed().isEmpty() && !header.value(QStringLiteral("xszg_id")).isNull())
        header.setValue(QStringLiteral("xszg_id"), Value());

    const bool shipment = entry.kind == DocumentKind::Shipment;
    return WriteDocument(header, lines, DocumentNumberedRow(entry.kind), [&](bool isNew) {
        header.setValue(QStringLiteral("类别"), DocumentKindName(entry.kind));
        header.setValue(QStringLiteral("应收款金额（出货）"), Value::money(shipment ? total : 0));
        header.setValue(QStringLiteral("结帐、应付款金额（进货）"), Value::money(shipment ? 0 : total));
        header.setValue(QStringLiteral("结帐"), Value::boolean(false));
        if (isNew) {
            header.setValue(QStringLiteral("制单日期"), Value::dateTime(entry.date.startOfDay()));
            header.setValue(QStringLiteral("dw_id"), Value::integer(entry.partnerId));
        }
    }, parent);
}

} // namespace kvl
