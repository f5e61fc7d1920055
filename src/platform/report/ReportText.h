// The content of a text object: literal text with [expression] parts, e.g.
// "第 [PAGE#] 页 共 [TOTALPAGES] 页" or "[RmSfk."单号"]".
#pragma once

#include "ReportExpression.h"

#include <QList>
#include <QString>

namespace kvl {

class ReportText
{
public:
    struct Part
    {
        QString literal;          // used when the part is not an expression
        ReportExpression expression;
        bool isExpression = false;
    };

    ReportText() = default;
    static ReportText parse(const QString &text);

    const QList<Part> &parts() const { return m_parts; }
    bool hasExpressions() const;
    // Literal parts as they stand, expression parts evaluated and shown with the format
    // (or, for a bare field, the field's own display format given by fieldFormat).
    template<typename FieldFormat>
    QString evaluate(const ReportExpressionContext &ctx, const QString &format, FieldFormat fieldFormat) const;

private:
    QList<Part> m_parts;
};

} // namespace kvl

#include "ReportFormatter.h"

namespace kvl {

template<typename FieldFormat>
QString ReportText::evaluate(const ReportExpressionContext &ctx, const QString &format, FieldFormat fieldFormat) const
{
    QString out;
    for (const Part &p : m_parts) {
        if (!p.isExpression) {
            out += p.literal;
            continue;
        }
        const Value v = p.expression.evaluate(ctx);
        QString f = format;
        if (f.isEmpty() && p.expression.root() && p.expression.root()->kind == ReportExpression::Node::Field)
            f = fieldFormat(p.expression.root()->link, p.expression.root()->name);
        out += ReportFormatter::format(v, f);
    }
    return out;
}

} // namespace kvl
