// Proposed document numbers read from the PH counters.
#include "DocumentNumber.h"

#include "Dataset.h"
#include "datakvl.h"

namespace kvl {

QString ProposedNumber(const QString &prefix, qint64 counter)
{
    const QString digits = QString::number(counter + 1);
    return prefix + QString(qMax<qsizetype>(0, 8 - digits.size()), QLatin1Char('0')) + digits;
}

QString ProposeDocumentNumber(DocumentKind kind)
{
    Dataset &q = DataModKvl->query(QStringLiteral("SELECT %1 from PH").arg(DocumentCounterColumn(kind)));
    q.open();
    const qint64 counter = q.isEmpty() ? 0 : q.value(0).toInt();
    q.close();
    return ProposedNumber(DocumentNumberPrefix(kind), counter);
}

QString DocumentNumberProblem(const QString &number)
{
    if (number.size() <= kDocumentNumberLength)
        return QString();
    return QStringLiteral("单号“%1”有 %2 个字符，最多只能有 %3 个字符，请改短单号后再保存！")
        .arg(number)
        .arg(number.size())
        .arg(kDocumentNumberLength);
}

} // namespace kvl
