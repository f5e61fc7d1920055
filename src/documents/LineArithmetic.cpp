// Line arithmetic of the shipment/purchase editor.
#include "LineArithmetic.h"

#include "Dataset.h"

#include <limits>
#include <optional>

namespace kvl {

namespace {

constexpr qint64 kScale = 10000;

std::optional<qint64> fitted(__int128 v)
{
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return qint64(v);
}

// Rounds n / d half away from zero.
__int128 roundedQuotient(__int128 n, __int128 d)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const __int128 half = d / 2;
    return n >= 0 ? (n + half) / d : -((-n + half) / d);
}

} // namespace

std::optional<qint64> MultiplyUnits(qint64 a, qint64 b)
{
    return fitted(roundedQuotient(__int128(a) * b, kScale));
}

std::optional<qint64> DivideUnits(qint64 a, qint64 b)
{
    if (b == 0)
        return std::nullopt;
    return fitted(roundedQuotient(__int128(a) * kScale, b));
}

LineColumn LineColumnOf(const QString &field)
{
    if (field == QLatin1String("sl"))
        return LineColumn::Quantity;
    if (field == QLatin1String("dj"))
        return LineColumn::Price;
    if (field == QLatin1String("je"))
        return LineColumn::Amount;
    if (field == QStringLiteral("备注"))
        return LineColumn::Remark;
    if (field == QLatin1String("kcsp_spmc"))
        return LineColumn::Goods;
    return LineColumn::Other;
}

bool LineHasGoods(const Dataset &lines)
{
    if (!lines.isActive() || (lines.isEmpty() && lines.state() == Dataset::State::Browse))
        return false;
    const Value name = lines.value(QStringLiteral("kcsp_spmc"));
    return !name.isNull() && !name.toString().trimmed().isEmpty();
}

QString ApplyLineArithmetic(Dataset &lines, LineColumn left)
{
    if (!LineHasGoods(lines))
        return QString();
    const QString fields[] = {QStringLiteral("sl"), QStringLiteral("dj"), QStringLiteral("je")};
    for (const QString &f : fields) {
        if (lines.value(f).isNull()) {
            if (lines.state() == Dataset::State::Browse)
                lines.edit();
            lines.setValue(f, Value::money(0));
        }
    }
    const qint64 sl = lines.value(fields[0]).moneyUnits();
    const qint64 dj = lines.value(fields[1]).moneyUnits();
    const qint64 je = lines.value(fields[2]).moneyUnits();
    const QString tooLarge = QStringLiteral("计算结果超出系统充许范围，请录入正确的数量、单价和金额！");
    if (left == LineColumn::Quantity || left == LineColumn::Price) {
        const std::optional<qint64> amount = MultiplyUnits(dj, sl);
        if (!amount)
            return tooLarge;
        if (*amount != je) {
            if (lines.state() == Dataset::State::Browse)
                lines.edit();
            lines.setValue(fields[2], Value::money(*amount));
        }
    } else if (left == LineColumn::Amount && sl != 0) {
        const std::optional<qint64> price = DivideUnits(je, sl);
        if (!price)
            return tooLarge;
        if (*price != dj) {
            if (lines.state() == Dataset::State::Browse)
                lines.edit();
            lines.setValue(fields[1], Value::money(*price));
        }
    }
    return QString();
}

} // namespace kvl
