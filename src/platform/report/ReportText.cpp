// Splitting a text object's content into literal and bracketed expression parts.
#include "ReportText.h"

namespace kvl {

ReportText ReportText::parse(const QString &text)
{
    ReportText t;
    QString literal;
    int i = 0;
    while (i < text.size()) {
        if (text[i] != QLatin1Char('[')) {
            literal += text[i++];
            continue;
        }
        // Find the matching bracket; brackets inside quotes do not count.
        int depth = 0;
        int j = i;
        QChar quote;
        for (; j < text.size(); ++j) {
            const QChar c = text[j];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                continue;
            }
            if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                quote = c;
            else if (c == QLatin1Char('['))
                ++depth;
            else if (c == QLatin1Char(']') && --depth == 0)
                break;
        }
        if (j >= text.size()) {
            // An unclosed bracket is plain text, so a stray "[" still prints.
            literal += text.mid(i);
            break;
        }
        if (!literal.isEmpty()) {
            t.m_parts.append(Part{literal, {}, false});
            literal.clear();
        }
        Part p;
        p.isExpression = true;
        p.expression = ReportExpression::parse(text.mid(i + 1, j - i - 1));
        t.m_parts.append(p);
        i = j + 1;
    }
    if (!literal.isEmpty())
        t.m_parts.append(Part{literal, {}, false});
    return t;
}

bool ReportText::hasExpressions() const
{
    for (const Part &p : m_parts)
        if (p.isExpression)
            return true;
    return false;
}

} // namespace kvl
