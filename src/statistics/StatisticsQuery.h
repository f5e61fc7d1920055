// The statement of one statistics refresh: the query text and the values of
// its named parameters, built up condition by condition.
#pragma once

#include "Value.h"

#include <QDate>
#include <QList>
#include <QString>

#include <utility>

namespace kvl {

class Dataset;

// How the program's original statements, kept as the yardstick of the faster
// ones, treat a blank filter. AsWritten: each text condition always stands, a
// blank one as LIKE '%%', which drops rows whose column is NULL. SkipBlank: a
// condition only for a filter that is not blank, the rows the refresh gives.
enum class BlankFilters { AsWritten, SkipBlank };

class StatisticsQuery
{
public:
    explicit StatisticsQuery(const QString &text = QString()) : m_text(text) {}

    const QString &text() const { return m_text; }
    const QList<std::pair<QString, Value>> &params() const { return m_params; }

    void append(const QString &text) { m_text += text; }
    void bind(const QString &param, const Value &value);

    // Appends " AND (<condition>)" binding `param` to "%" + the trimmed text + "%",
    // only when the text is not blank: a blank filter then keeps every row, also
    // those whose column is NULL, which LIKE '%%' would drop. The typed text keeps
    // the LIKE meaning of "%" and "_"; being bound, no character can break the statement.
    void addLike(const QString &condition, const QString &param, const QString &typed);
    // As addLike, or with AsWritten the condition standing also for a blank text.
    void addLike(const QString &condition, const QString &param, const QString &typed, BlankFilters blank);

    // Appends " where" and the range of 制单日期 from midnight of `from` to midnight
    // of `to`, both included, bound as :Vqshrq and :Vjzhrq. The range is also
    // written as the range of ids it spans, so the engine walks sfk in id order
    // (the order the lists are shown in) over the few pages of that period, with
    // nothing left to sort; the date condition still decides each row. An end
    // before the start spans no id and gives no row.
    void whereDates(const QDate &from, const QDate &to);

    // "%" + trimmed text + "%", the pattern of a typed filter.
    static QString likePattern(const QString &typed);
    // The bound form of a date bound: the midnight timestamp of that day.
    static Value midnight(const QDate &day);

    // Sets the text and the parameters of a closed dataset.
    void applyTo(Dataset &ds) const;

private:
    QString m_text;
    QList<std::pair<QString, Value>> m_params;
};

} // namespace kvl
