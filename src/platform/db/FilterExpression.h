// Filter expressions over a dataset's rows: a small parser for comparisons
// with = <> < > <= >=, like with * as wildcard, and, or, not, parentheses, the
// literals True, False, NULL, numbers and quoted texts ('' is a quote inside),
// and an evaluator bound to the fields of one dataset. Texts are compared per
// distinct value of a column, so a filter over many rows costs little.
#pragma once

#include "Value.h"

#include <QString>

#include <memory>

namespace kvl {

class Column;

class FilterExpression
{
public:
    // What the evaluator reads: the fields of the dataset, by number, per stored row.
    class Source
    {
    public:
        virtual ~Source() = default;
        virtual int fieldIndex(const QString &name) const = 0;   // -1 when there is none
        virtual ValueType fieldType(int field) const = 0;
        virtual const Column *fieldColumn(int field) const = 0;  // nullptr for computed fields
        virtual Value fieldValue(quint32 row, int field) const = 0;
    };

    FilterExpression();
    // Parses the text; throws DbError with a message naming the fault when it does not parse.
    explicit FilterExpression(const QString &text);
    ~FilterExpression();
    FilterExpression(FilterExpression &&) noexcept;
    FilterExpression &operator=(FilterExpression &&) noexcept;

    const QString &text() const { return m_text; }
    bool isEmpty() const { return !m_root; }

    // Resolves field names and converts literals to the fields' types; throws DbError
    // for an unknown field or a literal that does not fit its field.
    void bind(const Source &source);
    // True when the stored row passes; an empty expression passes every row.
    bool matches(quint32 row) const;

    struct Node;

private:
    QString m_text;
    std::unique_ptr<Node> m_root;
    const Source *m_source = nullptr;
};

} // namespace kvl
