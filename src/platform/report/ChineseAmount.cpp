// Chinese capital numerals for money amounts.
#include "ChineseAmount.h"

#include "Value.h"

namespace kvl {

namespace {

const QString kDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
const QString kPlaces = QStringLiteral("仟佰拾");

// 1 ... 9999; a zero between non-zero digits reads as one 零, trailing zeros vanish.
QString readGroup(quint64 n)
{
    QString out;
    bool pendingZero = false;
    const quint64 divisors[4] = {1000, 100, 10, 1};
    bool started = false;
    for (int i = 0; i < 4; ++i) {
        const int d = int((n / divisors[i]) % 10);
        if (d == 0) {
            if (started)
                pendingZero = true;
            continue;
        }
        if (pendingZero)
            out += kDigits[0];
        pendingZero = false;
        started = true;
        out += kDigits[d];
        if (i < 3)
            out += kPlaces[i];
    }
    return out;
}

// Any positive integer: 万 groups of four digits, 亿 above them (so 壹万亿 for 10^12).
QString readInteger(quint64 n)
{
    if (n >= 100000000ULL) {
        const quint64 high = n / 100000000ULL, low = n % 100000000ULL;
        QString out = readInteger(high) + QStringLiteral("亿");
        if (low > 0)
            out += (low < 10000000ULL ? QString(kDigits[0]) : QString()) + readInteger(low);
        return out;
    }
    if (n >= 10000ULL) {
        const quint64 high = n / 10000ULL, low = n % 10000ULL;
        QString out = readGroup(high) + QStringLiteral("万");
        if (low > 0)
            out += (low < 1000ULL ? QString(kDigits[0]) : QString()) + readGroup(low);
        return out;
    }
    return readGroup(n);
}

} // namespace

QString chineseCapitalAmount(qint64 moneyUnits)
{
    const bool negative = moneyUnits < 0;
    const quint64 mag = negative ? quint64(0) - quint64(moneyUnits) : quint64(moneyUnits);
    const quint64 fenTotal = mag / 100 + (mag % 100 >= 50 ? 1 : 0);
    const quint64 yuan = fenTotal / 100;
    const int jiao = int((fenTotal / 10) % 10);
    const int fen = int(fenTotal % 10);

    if (fenTotal == 0)
        return QStringLiteral("零元整");

    QString out;
    if (yuan > 0)
        out += readInteger(yuan) + QStringLiteral("元");
    if (jiao > 0)
        out += kDigits[jiao] + QStringLiteral("角");
    if (fen > 0) {
        if (jiao == 0 && yuan > 0)
            out += kDigits[0];
        out += kDigits[fen] + QStringLiteral("分");
    } else {
        out += QStringLiteral("整");
    }
    return negative ? QStringLiteral("负") + out : out;
}

} // namespace kvl
