// Amounts in Chinese capital numerals (大写金额), as written on cheques and invoices.
#pragma once

#include <QString>

namespace kvl {

// Money in ten-thousandths, rounded half away from zero to the fen. Bank-cheque
// convention: 壹拾 (never a bare 拾), one 零 per gap of zeros, 整 after 元 or 角 when
// there are no fen, 零元整 for zero, 负 in front of a negative amount.
QString chineseCapitalAmount(qint64 moneyUnits);

} // namespace kvl
