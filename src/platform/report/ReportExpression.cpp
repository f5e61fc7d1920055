// A small recursive-descent parser and evaluator for report expressions.
#include "ReportExpression.h"

#include "ChineseAmount.h"
#include "ReportFormatter.h"

namespace kvl {

namespace {

using Node = ReportExpression::Node;
using NodePtr = ReportExpression::NodePtr;

struct Token
{
    enum Kind { End, Ident, Quoted, String, Number, Op };
    Kind kind = End;
    QString text;
};

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#');
}

class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) { advance(); }

    NodePtr parseAll()
    {
        NodePtr n = parseOr();
        if (m_tok.kind != Token::End)
            fail(QStringLiteral("多余的内容：%1").arg(m_tok.text));
        return n;
    }
    const QString &error() const { return m_error; }

private:
    void fail(const QString &why)
    {
        if (m_error.isEmpty())
            m_error = why;
        m_tok = Token();
    }

    void advance()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
        m_tok = Token();
        if (m_pos >= m_text.size())
            return;
        const QChar c = m_text[m_pos];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            QString s;
            ++m_pos;
            bool closed = false;
            while (m_pos < m_text.size()) {
                if (m_text[m_pos] == c) {
                    // A doubled quote stands for the quote itself.
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == c) {
                        s += c;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    closed = true;
                    break;
                }
                s += m_text[m_pos++];
            }
            if (!closed) {
                fail(QStringLiteral("引号没有结束"));
                return;
            }
            m_tok.kind = c == QLatin1Char('"') ? Token::Quoted : Token::String;
            m_tok.text = s;
            return;
        }
        if (c.isDigit() || (c == QLatin1Char('.') && m_pos + 1 < m_text.size() && m_text[m_pos + 1].isDigit())) {
            const int start = m_pos;
            while (m_pos < m_text.size() && (m_text[m_pos].isDigit() || m_text[m_pos] == QLatin1Char('.')))
                ++m_pos;
            m_tok.kind = Token::Number;
            m_tok.text = m_text.mid(start, m_pos - start);
            return;
        }
        if (isIdentChar(c)) {
            const int start = m_pos;
            while (m_pos < m_text.size() && isIdentChar(m_text[m_pos]))
                ++m_pos;
            m_tok.kind = Token::Ident;
            m_tok.text = m_text.mid(start, m_pos - start);
            return;
        }
        static const QStringList twoChar = {QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
        const QString two = m_text.mid(m_pos, 2);
        m_tok.kind = Token::Op;
        if (twoChar.contains(two)) {
            m_tok.text = two;
            m_pos += 2;
        } else {
            m_tok.text = QString(c);
            ++m_pos;
        }
    }

    bool isOp(const char *op) const { return m_tok.kind == Token::Op && m_tok.text == QLatin1String(op); }
    bool isWord(const char *w) const
    {
        return m_tok.kind == Token::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    void expectOp(const char *op)
    {
        if (!isOp(op))
            fail(QStringLiteral("缺少“%1”").arg(QLatin1String(op)));
        else
            advance();
    }

    static NodePtr make(Node::Kind kind, const QString &name, QList<NodePtr> args = {})
    {
        auto n = std::make_shared<Node>();
        n->kind = kind;
        n->name = name;
        n->args = std::move(args);
        return n;
    }

    NodePtr parseOr()
    {
        NodePtr l = parseAnd();
        while (isWord("or")) {
            advance();
            l = make(Node::Binary, QStringLiteral("or"), {l, parseAnd()});
        }
        return l;
    }
    NodePtr parseAnd()
    {
        NodePtr l = parseNot();
        while (isWord("and")) {
            advance();
            l = make(Node::Binary, QStringLiteral("and"), {l, parseNot()});
        }
        return l;
    }
    NodePtr parseNot()
    {
        if (isWord("not")) {
            advance();
            return make(Node::Unary, QStringLiteral("not"), {parseNot()});
        }
        return parseCompare();
    }
    NodePtr parseCompare()
    {
        NodePtr l = parseAdd();
        static const QStringList ops = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"),
                                        QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">=")};
        if (m_tok.kind == Token::Op && ops.contains(m_tok.text)) {
            const QString op = m_tok.text;
            advance();
            l = make(Node::Binary, op, {l, parseAdd()});
        }
        return l;
    }
    NodePtr parseAdd()
    {
        NodePtr l = parseMul();
        while (isOp("+") || isOp("-")) {
            const QString op = m_tok.text;
            advance();
            l = make(Node::Binary, op, {l, parseMul()});
        }
        return l;
    }
    NodePtr parseMul()
    {
        NodePtr l = parseUnary();
        while (isOp("*") || isOp("/")) {
            const QString op = m_tok.text;
            advance();
            l = make(Node::Binary, op, {l, parseUnary()});
        }
        return l;
    }
    NodePtr parseUnary()
    {
        if (isOp("-")) {
            advance();
            return make(Node::Unary, QStringLiteral("-"), {parseUnary()});
        }
        return parsePrimary();
    }
    NodePtr parsePrimary()
    {
        if (isOp("(") || isOp("[")) {
            const char *close = isOp("(") ? ")" : "]";
            advance();
            NodePtr n = parseOr();
            expectOp(close);
            return n;
        }
        if (m_tok.kind == Token::Number) {
            auto n = std::make_shared<Node>();
            n->kind = Node::Literal;
            const QString t = m_tok.text;
            if (t.contains(QLatin1Char('.'))) {
                // Decimal literals are exact money so sums and comparisons stay exact.
                const qsizetype dot = t.indexOf(QLatin1Char('.'));
                const QString frac = t.mid(dot + 1).leftJustified(4, QLatin1Char('0')).left(4);
                n->literal = Value::money(t.left(dot).toLongLong() * kMoneyScale + frac.toLongLong());
            } else {
                n->literal = Value::integer(t.toLongLong());
            }
            advance();
            return n;
        }
        if (m_tok.kind == Token::String) {
            auto n = std::make_shared<Node>();
            n->kind = Node::Literal;
            n->literal = Value(m_tok.text);
            advance();
            return n;
        }
        if (m_tok.kind == Token::Ident || m_tok.kind == Token::Quoted) {
            const QString name = m_tok.text;
            const bool quoted = m_tok.kind == Token::Quoted;
            advance();
            if (!quoted && (name.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                            || name.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)) {
                auto n = std::make_shared<Node>();
                n->kind = Node::Literal;
                n->literal = Value::boolean(name.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
                return n;
            }
            if (isOp(".")) {
                advance();
                if (m_tok.kind != Token::Ident && m_tok.kind != Token::Quoted) {
                    fail(QStringLiteral("“%1.”后缺少字段名").arg(name));
                    return nullptr;
                }
                auto n = std::make_shared<Node>();
                n->kind = Node::Field;
                n->link = name;
                n->name = m_tok.text;
                advance();
                return n;
            }
            if (!quoted && isOp("(")) {
                advance();
                QList<NodePtr> args;
                if (!isOp(")")) {
                    args << parseOr();
                    while (isOp(",")) {
                        advance();
                        args << parseOr();
                    }
                }
                expectOp(")");
                return make(Node::Call, name.toUpper(), args);
            }
            return make(Node::Name, name);
        }
        fail(m_tok.kind == Token::End ? QStringLiteral("表达式不完整") : QStringLiteral("无法识别“%1”").arg(m_tok.text));
        return nullptr;
    }

    QString m_text;
    int m_pos = 0;
    Token m_tok;
    QString m_error;
};

bool isNumeric(const Value &v)
{
    switch (v.type()) {
    case ValueType::Integer:
    case ValueType::Money:
    case ValueType::Float:
    case ValueType::Boolean:
        return true;
    default:
        return false;
    }
}

// The common type of two numbers: float beats money beats integer.
ValueType numericType(const Value &a, const Value &b)
{
    if (a.type() == ValueType::Float || b.type() == ValueType::Float)
        return ValueType::Float;
    if (a.type() == ValueType::Money || b.type() == ValueType::Money)
        return ValueType::Money;
    return ValueType::Integer;
}

int compareValues(const Value &a, const Value &b)
{
    // A missing text equals the empty text, so [RmSfk."结帐单号"] <> '' asks "is there one".
    if (a.isNull() && b.type() == ValueType::Text)
        return b.toString().isEmpty() ? 0 : -1;
    if (b.isNull() && a.type() == ValueType::Text)
        return a.toString().isEmpty() ? 0 : 1;
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (isNumeric(a) && isNumeric(b)) {
        switch (numericType(a, b)) {
        case ValueType::Float: {
            const double x = a.toDouble(), y = b.toDouble();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        default: {
            const qint64 x = a.moneyUnits(), y = b.moneyUnits();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        }
    }
    if (a.type() == ValueType::DateTime && b.type() == ValueType::DateTime) {
        const qint64 x = a.dateTimeSecs(), y = b.dateTimeSecs();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString());
}

Value arithmetic(const QString &op, const Value &a, const Value &b)
{
    if (op == QLatin1String("+") && (a.type() == ValueType::Text || b.type() == ValueType::Text))
        return Value(a.toString() + b.toString());
    // A missing value counts as nothing, so a sum over an absent field stays a number.
    const Value x = a.isNull() ? Value::integer(0) : a;
    const Value y = b.isNull() ? Value::integer(0) : b;
    if (!isNumeric(x) || !isNumeric(y))
        return Value();
    const ValueType t = numericType(x, y);
    if (op == QLatin1String("/")) {
        if (y.toDouble() == 0)
            return Value();
        return Value::real(x.toDouble() / y.toDouble());
    }
    if (t == ValueType::Float) {
        const double p = x.toDouble(), q = y.toDouble();
        return Value::real(op == QLatin1String("+") ? p + q : op == QLatin1String("-") ? p - q : p * q);
    }
    if (t == ValueType::Integer) {
        const qint64 p = x.toInt(), q = y.toInt();
        return Value::integer(op == QLatin1String("+") ? p + q : op == QLatin1String("-") ? p - q : p * q);
    }
    const qint64 p = x.moneyUnits(), q = y.moneyUnits();
    if (op == QLatin1String("+"))
        return Value::money(p + q);
    if (op == QLatin1String("-"))
        return Value::money(p - q);
    // Money times money: ten-thousandths squared, brought back with rounding half away from zero.
    const __int128 prod = __int128(p) * q;
    const __int128 half = prod < 0 ? -kMoneyScale / 2 : kMoneyScale / 2;
    return Value::money(qint64((prod + half) / kMoneyScale));
}

void collectAggregates(const Node &n, QList<const Node *> &out)
{
    if (n.kind == Node::Call && (n.name == QLatin1String("SUM") || n.name == QLatin1String("COUNT"))) {
        out << &n;
        return; // an aggregate inside an aggregate is not summed twice
    }
    for (const NodePtr &a : n.args)
        if (a)
            collectAggregates(*a, out);
}

void collectLinks(const Node &n, QStringList &out)
{
    if (n.kind == Node::Field && !out.contains(n.link))
        out << n.link;
    for (const NodePtr &a : n.args)
        if (a)
            collectLinks(*a, out);
}

} // namespace

ReportExpression ReportExpression::parse(const QString &text)
{
    ReportExpression e;
    e.m_text = text;
    Parser p(text);
    NodePtr root = p.parseAll();
    if (p.error().isEmpty() && root)
        e.m_root = root;
    else
        e.m_error = p.error();
    return e;
}

Value ReportExpression::evaluate(const ReportExpressionContext &ctx) const
{
    return m_root ? evaluate(*m_root, ctx) : Value();
}

Value ReportExpression::evaluate(const Node &n, const ReportExpressionContext &ctx)
{
    auto arg = [&](int i) { return i < n.args.size() && n.args[i] ? evaluate(*n.args[i], ctx) : Value(); };
    switch (n.kind) {
    case Node::Literal:
        return n.literal;
    case Node::Field:
        return ctx.field(n.link, n.name);
    case Node::Name:
        return ctx.name(n.name);
    case Node::Unary: {
        const Value v = arg(0);
        if (n.name == QLatin1String("not"))
            return Value::boolean(!v.toBool());
        return arithmetic(QStringLiteral("-"), Value::integer(0), v);
    }
    case Node::Binary: {
        if (n.name == QLatin1String("and"))
            return Value::boolean(arg(0).toBool() && arg(1).toBool());
        if (n.name == QLatin1String("or"))
            return Value::boolean(arg(0).toBool() || arg(1).toBool());
        const Value a = arg(0), b = arg(1);
        const QString &op = n.name;
        if (op == QLatin1String("+") || op == QLatin1String("-") || op == QLatin1String("*") || op == QLatin1String("/"))
            return arithmetic(op, a, b);
        const int c = compareValues(a, b);
        if (op == QLatin1String("="))
            return Value::boolean(c == 0);
        if (op == QLatin1String("<>"))
            return Value::boolean(c != 0);
        if (op == QLatin1String("<"))
            return Value::boolean(c < 0);
        if (op == QLatin1String(">"))
            return Value::boolean(c > 0);
        if (op == QLatin1String("<="))
            return Value::boolean(c <= 0);
        return Value::boolean(c >= 0);
    }
    case Node::Call: {
        if (n.name == QLatin1String("SUM") || n.name == QLatin1String("COUNT"))
            return ctx.aggregate(n);
        if (n.name == QLatin1String("RMB")) {
            const Value v = arg(0);
            return v.isNull() ? Value() : Value(chineseCapitalAmount(v.type() == ValueType::Text
                                                                         ? Value::real(v.toDouble()).moneyUnits()
                                                                         : v.moneyUnits()));
        }
        if (n.name == QLatin1String("IIF"))
            return arg(0).toBool() ? arg(1) : arg(2);
        if (n.name == QLatin1String("FORMAT"))
            return Value(ReportFormatter::format(arg(0), arg(1).toString()));
        return Value();
    }
    }
    return Value();
}

QList<const ReportExpression::Node *> ReportExpression::aggregates() const
{
    QList<const Node *> out;
    if (m_root)
        collectAggregates(*m_root, out);
    return out;
}

QStringList ReportExpression::linksOf(const Node &node)
{
    QStringList out;
    collectLinks(node, out);
    return out;
}

} // namespace kvl
