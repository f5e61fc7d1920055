// Translation of the numeric display formats into spreadsheet format codes. The
// two languages agree on "0", "#", "." and the three sections, but differ where
// this translation has work to do: a "," anywhere in a display format asks for
// thousands separators, and an empty negative section means "like the positive
// one, with a minus sign", where a spreadsheet would show nothing.
#include "ExcelNumberFormat.h"

#include <QStringList>

namespace kvl {

namespace {

// One section, or empty when it cannot be carried over.
QString section(const QString &display)
{
    if (!display.contains(QLatin1Char('0')) && !display.contains(QLatin1Char('#')))
        return {};
    for (const QChar c : display) {
        if (!QStringLiteral("0#.,").contains(c))
            return {};
    }
    const bool thousands = display.contains(QLatin1Char(','));
    QString s = display;
    s.remove(QLatin1Char(','));
    const qsizetype point = s.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? s : s.left(point);
    const QString fraction = point < 0 ? QString() : s.mid(point + 1);
    if (fraction.contains(QLatin1Char('.')))
        return {};
    if (point >= 0 && !fraction.contains(QLatin1Char('0')))
        return {};  // "12." in a spreadsheet where the display shows "12"
    const qsizetype zeros = whole.count(QLatin1Char('0'));
    QString out;
    if (thousands)
        out = zeros <= 1 ? QStringLiteral("#,##0") : QStringLiteral("#,") + QString(zeros, QLatin1Char('0'));
    else
        out = zeros == 0 ? QStringLiteral("#") : QString(zeros, QLatin1Char('0'));
    if (!fraction.isEmpty())
        out += QLatin1Char('.') + fraction;
    return out;
}

} // namespace

QString excelNumberFormat(const QString &displayFormat)
{
    const QStringList parts = displayFormat.split(QLatin1Char(';'));
    if (parts.size() > 3)
        return {};
    const QString positive = section(parts.at(0));
    if (positive.isEmpty())
        return {};
    if (parts.size() == 1)
        return positive;
    const QString negative = parts.at(1).isEmpty() ? QLatin1Char('-') + positive : section(parts.at(1));
    if (negative.isEmpty())
        return {};
    QString out = positive + QLatin1Char(';') + negative;
    if (parts.size() == 3) {
        // A zero section without a "0" shows zero as an empty cell.
        QString zero;
        if (parts.at(2).contains(QLatin1Char('0'))) {
            zero = section(parts.at(2));
            if (zero.isEmpty())
                return {};
        }
        out += QLatin1Char(';') + zero;
    }
    return out;
}

} // namespace kvl
