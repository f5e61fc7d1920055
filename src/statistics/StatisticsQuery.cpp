// Building the statistics statements.
#include "StatisticsQuery.h"

#include "Dataset.h"

#include <QDate>
#include <QDateTime>

namespace kvl {

void StatisticsQuery::bind(const QString &param, const Value &value)
{
    m_params.append({param, value});
}

void StatisticsQuery::addLike(const QString &condition, const QString &param, const QString &typed)
{
    if (typed.trimmed().isEmpty())
        return;
    m_text += QStringLiteral(" AND (") + condition + u')';
    bind(param, Value(likePattern(typed)));
}

void StatisticsQuery::whereDates(const QDate &from, const QDate &to)
{
    const QString inRange = QStringLiteral("制单日期>=:Vqshrq AND 制单日期<=:Vjzhrq");
    m_text += QStringLiteral(" where sfk.id BETWEEN (SELECT min(id) FROM sfk WHERE %1) AND (SELECT max(id) FROM sfk WHERE %1)"
                             " AND (sfk.制单日期>=:Vqshrq) and (sfk.制单日期<=:Vjzhrq)")
                  .arg(inRange);
    bind(QStringLiteral("Vqshrq"), midnight(from));
    bind(QStringLiteral("Vjzhrq"), midnight(to));
}

void StatisticsQuery::addLike(const QString &condition, const QString &param, const QString &typed, BlankFilters blank)
{
    if (blank == BlankFilters::SkipBlank) {
        addLike(condition, param, typed);
        return;
    }
    m_text += QStringLiteral(" AND (") + condition + u')';
    bind(param, Value(likePattern(typed)));
}

QString StatisticsQuery::likePattern(const QString &typed)
{
    return u'%' + typed.trimmed() + u'%';
}

Value StatisticsQuery::midnight(const QDate &day)
{
    return Value::dateTime(QDateTime(day, QTime(0, 0), Qt::UTC));
}

void StatisticsQuery::applyTo(Dataset &ds) const
{
    ds.setSql(m_text);
    ds.clearParams();
    for (const auto &[name, value] : m_params)
        ds.setParam(name, value);
}

} // namespace kvl
