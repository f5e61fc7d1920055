// Parser and evaluator of filter expressions.
#include "FilterExpression.h"

#include "Column.h"
#include "DbError.h"
#include "Formatter.h"

#include <vector>

namespace kvl {

namespace {

enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like };

struct Token
{
    enum Kind { End, LParen, RParen, Oper, Text, Word, Name } kind = End;
    QString text;
    Op op = Op::Eq;
    qsizetype pos = 0;
};

struct Operand
{
    enum Kind { Field, Text, Number, Bool, Null } kind = Null;
    QString text;
    bool boolValue = false;
    int field = -1;
};

// Lower-cases for the case-blind comparisons of like.
QString fold(const QString &s) { return s.toLower(); }

bool globMatch(QStringView text, QStringView pattern)
{
    const QList<QStringView> parts = pattern.split(u'*');
    if (parts.size() == 1)
        return text == pattern;
    qsizetype at = 0;
    if (!text.startsWith(parts.first()))
        return false;
    at = parts.first().size();
    for (qsizetype i = 1; i + 1 < parts.size(); ++i) {
        if (parts[i].isEmpty())
            continue;
        const qsizetype f = text.indexOf(parts[i], at);
        if (f < 0)
            return false;
        at = f + parts[i].size();
    }
    const QStringView last = parts.last();
    return text.size() - at >= last.size() && text.endsWith(last);
}

int compareValues(const Value &a, const Value &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    const auto numeric = [](ValueType t) {
        return t == ValueType::Integer || t == ValueType::Money || t == ValueType::Float || t == ValueType::Boolean;
    };
    if (numeric(a.type()) && numeric(b.type())) {
        if (a.type() != ValueType::Float && b.type() != ValueType::Float) {
            const qint64 x = a.moneyUnits(), y = b.moneyUnits();
            return x < y ? -1 : x > y;
        }
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : x > y;
    }
    if (a.type() == ValueType::DateTime && b.type() == ValueType::DateTime) {
        const qint64 x = a.dateTimeSecs(), y = b.dateTimeSecs();
        return x < y ? -1 : x > y;
    }
    return a.toString().compare(b.toString());
}

bool opHolds(Op op, int c)
{
    switch (op) {
    case Op::Eq: return c == 0;
    case Op::Ne: return c != 0;
    case Op::Lt: return c < 0;
    case Op::Gt: return c > 0;
    case Op::Le: return c <= 0;
    case Op::Ge: return c >= 0;
    case Op::Like: return false;
    }
    return false;
}

Op mirrored(Op op)
{
    switch (op) {
    case Op::Lt: return Op::Gt;
    case Op::Gt: return Op::Lt;
    case Op::Le: return Op::Ge;
    case Op::Ge: return Op::Le;
    default: return op;
    }
}

} // namespace

struct FilterExpression::Node
{
    enum Kind { Or, And, Not, Compare, Truth } kind = Truth;
    std::vector<std::unique_ptr<Node>> kids;
    Op op = Op::Eq;
    Operand lhs, rhs;

    // Bound plan of a comparison.
    enum Plan { Generic, NullTest, TextEq, TextLike, IntCmp } plan = Generic;
    const Column *column = nullptr;
    qint64 literalInt = 0;
    Value literal;
    QByteArray literalUtf8;
    QString pattern;                       // folded like pattern
    mutable quint32 literalIndex = 0;
    mutable quint32 resolvedAtSize = 0;
    mutable std::vector<qint8> memo;       // like: per pool entry, -1 not yet known
};

namespace {

class Parser
{
public:
    explicit Parser(const QString &text) : m_s(text) { advance(); }

    std::unique_ptr<FilterExpression::Node> parseAll()
    {
        auto n = parseOr();
        if (m_tok.kind != Token::End)
            fail(QStringLiteral("“%1”处多余的内容").arg(m_tok.text));
        return n;
    }

private:
    using NodePtr = std::unique_ptr<FilterExpression::Node>;

    [[noreturn]] void fail(const QString &why) const
    {
        throw DbError(QStringLiteral("过滤条件“%1”有误：%2。").arg(m_s, why));
    }

    bool isWord(const char *w) const
    {
        return m_tok.kind == Token::Word && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    void advance()
    {
        while (m_i < m_s.size() && m_s[m_i].isSpace())
            ++m_i;
        m_tok = Token();
        m_tok.pos = m_i;
        if (m_i >= m_s.size())
            return;
        const QChar c = m_s[m_i];
        if (c == u'(') {
            m_tok.kind = Token::LParen, m_tok.text = c, ++m_i;
        } else if (c == u')') {
            m_tok.kind = Token::RParen, m_tok.text = c, ++m_i;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            m_tok.kind = Token::Oper;
            QString op(c);
            ++m_i;
            if (m_i < m_s.size() && c != u'=' && (m_s[m_i] == u'=' || (c == u'<' && m_s[m_i] == u'>')))
                op += m_s[m_i++];
            m_tok.text = op;
            m_tok.op = op == u"=" ? Op::Eq : op == u"<>" ? Op::Ne : op == u"<" ? Op::Lt : op == u">" ? Op::Gt
                     : op == u"<=" ? Op::Le : Op::Ge;
        } else if (c == u'\'') {
            QString t;
            ++m_i;
            for (;;) {
                if (m_i >= m_s.size())
                    fail(QStringLiteral("引号没有结束"));
                if (m_s[m_i] == u'\'') {
                    if (m_i + 1 < m_s.size() && m_s[m_i + 1] == u'\'') {
                        t += u'\'';
                        m_i += 2;
                        continue;
                    }
                    ++m_i;
                    break;
                }
                t += m_s[m_i++];
            }
            m_tok.kind = Token::Text, m_tok.text = t;
        } else if (c == u'[') {
            const qsizetype end = m_s.indexOf(u']', m_i + 1);
            if (end < 0)
                fail(QStringLiteral("方括号没有结束"));
            m_tok.kind = Token::Name, m_tok.text = m_s.mid(m_i + 1, end - m_i - 1);
            m_i = end + 1;
        } else {
            const qsizetype start = m_i;
            while (m_i < m_s.size() && !m_s[m_i].isSpace() && !QStringView(u"()=<>'[").contains(m_s[m_i]))
                ++m_i;
            m_tok.kind = Token::Word, m_tok.text = m_s.mid(start, m_i - start);
        }
    }

    NodePtr parseOr()
    {
        NodePtr left = parseAnd();
        while (isWord("or")) {
            advance();
            auto n = std::make_unique<FilterExpression::Node>();
            n->kind = FilterExpression::Node::Or;
            n->kids.push_back(std::move(left));
            n->kids.push_back(parseAnd());
            left = std::move(n);
        }
        return left;
    }

    NodePtr parseAnd()
    {
        NodePtr left = parseNot();
        while (isWord("and")) {
            advance();
            auto n = std::make_unique<FilterExpression::Node>();
            n->kind = FilterExpression::Node::And;
            n->kids.push_back(std::move(left));
            n->kids.push_back(parseNot());
            left = std::move(n);
        }
        return left;
    }

    NodePtr parseNot()
    {
        if (isWord("not")) {
            advance();
            auto n = std::make_unique<FilterExpression::Node>();
            n->kind = FilterExpression::Node::Not;
            n->kids.push_back(parseNot());
            return n;
        }
        return parsePrimary();
    }

    NodePtr parsePrimary()
    {
        if (m_tok.kind == Token::LParen) {
            advance();
            NodePtr inner = parseOr();
            if (m_tok.kind != Token::RParen)
                fail(QStringLiteral("缺少右括号"));
            advance();
            return inner;
        }
        auto n = std::make_unique<FilterExpression::Node>();
        n->lhs = parseOperand();
        if (m_tok.kind == Token::Oper || isWord("like")) {
            n->kind = FilterExpression::Node::Compare;
            n->op = m_tok.kind == Token::Oper ? m_tok.op : Op::Like;
            advance();
            n->rhs = parseOperand();
        } else if (isWord("is")) {
            advance();
            bool negate = false;
            if (isWord("not")) {
                negate = true;
                advance();
            }
            if (!isWord("null"))
                fail(QStringLiteral("is 后面应为 NULL"));
            advance();
            n->kind = FilterExpression::Node::Compare;
            n->op = negate ? Op::Ne : Op::Eq;
            n->rhs.kind = Operand::Null;
        } else {
            n->kind = FilterExpression::Node::Truth;
        }
        return n;
    }

    Operand parseOperand()
    {
        Operand o;
        switch (m_tok.kind) {
        case Token::Text:
            o.kind = Operand::Text, o.text = m_tok.text;
            break;
        case Token::Name:
            o.kind = Operand::Field, o.text = m_tok.text;
            break;
        case Token::Word: {
            const QString &w = m_tok.text;
            if (isWord("true") || isWord("false")) {
                o.kind = Operand::Bool, o.boolValue = isWord("true");
            } else if (isWord("null")) {
                o.kind = Operand::Null;
            } else if (isWord("and") || isWord("or") || isWord("not") || isWord("like") || isWord("is")) {
                fail(QStringLiteral("“%1”前缺少比较的内容").arg(w));
            } else if (w[0].isDigit() || ((w[0] == u'-' || w[0] == u'.') && w.size() > 1)) {
                bool ok = false;
                w.toDouble(&ok);
                if (!ok)
                    fail(QStringLiteral("“%1”不是有效的数值").arg(w));
                o.kind = Operand::Number, o.text = w;
            } else {
                o.kind = Operand::Field, o.text = w;
            }
            break;
        }
        case Token::End:
            fail(QStringLiteral("条件不完整"));
        default:
            fail(QStringLiteral("“%1”处应为字段名或值").arg(m_tok.text));
        }
        advance();
        return o;
    }

    QString m_s;
    qsizetype m_i = 0;
    Token m_tok;
};

} // namespace

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression &&) noexcept = default;
FilterExpression &FilterExpression::operator=(FilterExpression &&) noexcept = default;

FilterExpression::FilterExpression(const QString &text) : m_text(text)
{
    if (text.trimmed().isEmpty())
        return;
    m_root = Parser(text).parseAll();
}

namespace {

Value literalValue(const Operand &o)
{
    switch (o.kind) {
    case Operand::Text: return Value(o.text);
    case Operand::Bool: return Value::boolean(o.boolValue);
    case Operand::Number: {
        qint64 u = 0;
        if (Formatter::parseMoney(o.text, &u, nullptr)) {
            if (u % kMoneyScale == 0)
                return Value::integer(u / kMoneyScale);
            return Value::money(u);
        }
        return Value::real(o.text.toDouble());
    }
    default: return Value();
    }
}

void bindNode(FilterExpression::Node &n, const FilterExpression::Source &src, const QString &exprText)
{
    using Node = FilterExpression::Node;
    for (auto &k : n.kids)
        bindNode(*k, src, exprText);
    auto resolve = [&](Operand &o) {
        if (o.kind != Operand::Field)
            return;
        o.field = src.fieldIndex(o.text);
        if (o.field < 0)
            throw DbError(QStringLiteral("过滤条件“%1”有误：字段“%2”不存在。").arg(exprText, o.text));
    };
    resolve(n.lhs);
    resolve(n.rhs);
    if (n.kind != Node::Compare)
        return;
    if (n.lhs.kind != Operand::Field && n.rhs.kind == Operand::Field) {
        std::swap(n.lhs, n.rhs);
        n.op = mirrored(n.op);
    }
    n.plan = Node::Generic;
    n.column = nullptr;
    n.memo.clear();
    n.resolvedAtSize = 0;
    if (n.lhs.kind != Operand::Field || n.rhs.kind == Operand::Field)
        return;
    const ValueType ft = src.fieldType(n.lhs.field);
    const Column *col = src.fieldColumn(n.lhs.field);
    if (n.rhs.kind == Operand::Null) {
        n.plan = Node::NullTest;
        return;
    }
    if (n.op == Op::Like) {
        n.pattern = fold(n.rhs.kind == Operand::Text ? n.rhs.text : literalValue(n.rhs).toString());
        if (col && col->type() == ValueType::Text) {
            n.plan = Node::TextLike;
            n.column = col;
        }
        return;
    }
    Value lit = literalValue(n.rhs);
    Value converted;
    QString why;
    if (!Formatter::convert(lit, ft, &converted, &why))
        throw DbError(QStringLiteral("过滤条件“%1”有误：%2").arg(exprText, why));
    n.literal = converted;
    if (!col || converted.isNull())
        return;
    if (col->type() == ValueType::Text && (n.op == Op::Eq || n.op == Op::Ne)) {
        n.plan = Node::TextEq;
        n.column = col;
        n.literalUtf8 = converted.toString().toUtf8();
        n.literalIndex = StringPool::kAbsent;
    } else if (col->type() == ValueType::Integer || col->type() == ValueType::Money
               || col->type() == ValueType::Boolean || col->type() == ValueType::DateTime) {
        n.plan = Node::IntCmp;
        n.column = col;
        n.literalInt = col->type() == ValueType::Money ? converted.moneyUnits() : converted.toInt();
    }
}

bool evalNode(const FilterExpression::Node &n, quint32 row, const FilterExpression::Source &src)
{
    using Node = FilterExpression::Node;
    switch (n.kind) {
    case Node::Or:
        return evalNode(*n.kids[0], row, src) || evalNode(*n.kids[1], row, src);
    case Node::And:
        return evalNode(*n.kids[0], row, src) && evalNode(*n.kids[1], row, src);
    case Node::Not:
        return !evalNode(*n.kids[0], row, src);
    case Node::Truth: {
        const Value v = n.lhs.kind == Operand::Field ? src.fieldValue(row, n.lhs.field) : literalValue(n.lhs);
        return !v.isNull() && v.toBool();
    }
    case Node::Compare:
        break;
    }
    switch (n.plan) {
    case Node::NullTest: {
        const bool null = n.column ? n.column->isNull(row) : src.fieldValue(row, n.lhs.field).isNull();
        return n.op == Op::Eq ? null : n.op == Op::Ne ? !null : false;
    }
    case Node::TextEq: {
        const StringPool &pool = n.column->pool();
        if (n.literalIndex == StringPool::kAbsent && n.resolvedAtSize != pool.size()) {
            n.literalIndex = pool.find(n.literalUtf8.constData(), n.literalUtf8.size());
            n.resolvedAtSize = pool.size();
        }
        const quint32 idx = n.column->textIndex(row);
        if (idx == StringPool::kNull)
            return n.op == Op::Ne;
        return (idx == n.literalIndex) == (n.op == Op::Eq);
    }
    case Node::TextLike: {
        const quint32 idx = n.column->textIndex(row);
        if (idx == StringPool::kNull)
            return false;
        if (idx >= n.memo.size())
            n.memo.resize(n.column->pool().size(), -1);
        qint8 &m = n.memo[idx];
        if (m < 0)
            m = globMatch(fold(n.column->pool().text(idx)), n.pattern) ? 1 : 0;
        return m == 1;
    }
    case Node::IntCmp: {
        if (n.column->isNull(row))
            return n.op == Op::Ne;
        const qint64 v = n.column->intAt(row);
        return opHolds(n.op, v < n.literalInt ? -1 : v > n.literalInt);
    }
    case Node::Generic:
        break;
    }
    const Value a = n.lhs.kind == Operand::Field ? src.fieldValue(row, n.lhs.field) : literalValue(n.lhs);
    const Value b = n.rhs.kind == Operand::Field ? src.fieldValue(row, n.rhs.field)
                    : n.plan == Node::Generic && !n.literal.isNull() ? n.literal
                                                                     : literalValue(n.rhs);
    if (n.op == Op::Like)
        return !a.isNull() && globMatch(fold(a.toString()), n.pattern.isEmpty() && !b.isNull() ? fold(b.toString()) : n.pattern);
    if (a.isNull() || b.isNull()) {
        const bool same = a.isNull() && b.isNull();
        return n.op == Op::Eq ? same : n.op == Op::Ne ? !same : false;
    }
    return opHolds(n.op, compareValues(a, b));
}

} // namespace

void FilterExpression::bind(const Source &source)
{
    m_source = &source;
    if (m_root)
        bindNode(*m_root, source, m_text);
}

bool FilterExpression::matches(quint32 row) const
{
    if (!m_root || !m_source)
        return true;
    return evalNode(*m_root, row, *m_source);
}

} // namespace kvl
