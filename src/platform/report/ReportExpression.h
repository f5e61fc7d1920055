// Expressions inside report texts: fields (RmSfk."单号"), variables (公司名称),
// PAGE#, TOTALPAGES, LINE#, arithmetic, comparisons, and/or/not, and the functions
// SUM, COUNT, RMB (大写金额), IIF and FORMAT.
#pragma once

#include "Value.h"

#include <QList>
#include <QString>
#include <memory>

namespace kvl {

class ReportExpressionContext;

class ReportExpression
{
public:
    struct Node
    {
        enum Kind { Literal, Field, Name, Unary, Binary, Call };
        Kind kind = Literal;
        Value literal;
        QString link;  // Field
        QString name;  // Field: the field; Name: the name; Call: upper-case function; Unary/Binary: operator
        QList<std::shared_ptr<const Node>> args;
    };
    using NodePtr = std::shared_ptr<const Node>;

    ReportExpression() = default;
    // Parses one expression (without the surrounding brackets). A parse failure gives
    // an expression that evaluates to null and tells its error.
    static ReportExpression parse(const QString &text);

    bool isValid() const { return m_root != nullptr; }
    bool isEmpty() const { return m_text.trimmed().isEmpty(); }
    const QString &text() const { return m_text; }
    const QString &error() const { return m_error; }
    const NodePtr &root() const { return m_root; }

    Value evaluate(const ReportExpressionContext &ctx) const;
    static Value evaluate(const Node &node, const ReportExpressionContext &ctx);

    // Every SUM / COUNT call in the expression, outermost first.
    QList<const Node *> aggregates() const;
    // The links the sub-expression reads fields of.
    static QStringList linksOf(const Node &node);

private:
    QString m_text;
    QString m_error;
    NodePtr m_root;
};

// What an expression reads while it is evaluated.
class ReportExpressionContext
{
public:
    virtual ~ReportExpressionContext() = default;
    virtual Value field(const QString &link, const QString &field) const = 0;
    // Variables and the page counters; null for an unknown name.
    virtual Value name(const QString &name) const = 0;
    // The running value of one SUM / COUNT call site.
    virtual Value aggregate(const ReportExpression::Node &call) const = 0;
};

} // namespace kvl
