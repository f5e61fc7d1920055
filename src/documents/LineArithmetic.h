// Arithmetic of one goods line: amount from quantity and price, price from amount.
// Money and quantities are ten-thousandths (four decimals) held in int64.
#pragma once

#include <QString>
#include <optional>

namespace kvl {

class Dataset;

// Products and quotients kept to four decimals, rounded half away from zero;
// nullopt when the result leaves the int64 range.
std::optional<qint64> MultiplyUnits(qint64 a, qint64 b);
std::optional<qint64> DivideUnits(qint64 a, qint64 b);   // b != 0

enum class LineColumn { Goods, Quantity, Price, Amount, Remark, Other };

// Column of the lines dataset for a field name (sl, dj, je, 备注, kcsp_spmc).
LineColumn LineColumnOf(const QString &field);

// True when the current line names goods (a name that is not blank).
bool LineHasGoods(const Dataset &lines);

// What leaving `left` on the current line does to its figures. Lines without
// goods are left alone. Returns an error text when a result does not fit
// (the line then keeps its figures).
QString ApplyLineArithmetic(Dataset &lines, LineColumn left);

} // namespace kvl
