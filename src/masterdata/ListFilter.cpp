// Literal contains-filters on top of the data layer's filter expressions.
#include "ListFilter.h"

#include "Dataset.h"
#include "DbError.h"

#include <QSet>

namespace kvl {

namespace {

QString quoted(QString text)
{
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// Like's wildcard has no escape, so a text with an asterisk is matched here and the
// filter names the values that contain it. Letter case is ignored, as like ignores it.
QString valuesExpression(Dataset &dataset, const QString &column, const QString &text)
{
    dataset.setFiltered(false);
    const int field = dataset.fieldIndex(column);
    QSet<QString> seen;
    QStringList terms;
    for (int row = 0; field >= 0 && row < dataset.recordCount(); ++row) {
        const QString v = dataset.valueAt(row, field).toString();
        if (v.contains(text, Qt::CaseInsensitive) && !seen.contains(v)) {
            seen.insert(v);
            terms << QStringLiteral("[%1] = %2").arg(column, quoted(v));
        }
    }
    return terms.isEmpty() ? QStringLiteral("False") : terms.join(QStringLiteral(" or "));
}

} // namespace

QString ListFilter::likeExpression(const QString &column, const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return column + QStringLiteral(" like '*") + t + QStringLiteral("*'");
}

void ListFilter::apply(Dataset &dataset, const QString &column, const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        dataset.setFilterText(QString());
        dataset.setFiltered(false);
        if (!dataset.isActive())
            dataset.open();
        return;
    }
    if (!t.contains(QLatin1Char('*'))) {
        try {
            dataset.setFilterText(likeExpression(column, t));
            dataset.setFiltered(true);
            return;
        } catch (const DbError &) {
            // falls through to the values the text names
        }
    }
    dataset.setFilterText(valuesExpression(dataset, column, t));
    dataset.setFiltered(true);
}

} // namespace kvl
