#include "FilterExpression.h"

#include <QDateTime>
#include <vector>

#include "ClientDataSet.h"
#include "Exception.h"

namespace {

// Deeper nesting than any hand-written filter needs; stops a hostile text
// from exhausting the stack.
constexpr int kMaxDepth = 200;

enum class Tok { End, Ident, Text, Number, Op, LParen, RParen, Sign, And, Or, Not, Is, Null, True, False };

struct Token {
    Tok type = Tok::End;
    QString text; // as written (operator, name, number); value for text literals
    int pos = 0; // 1-based character position
};

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };
enum class CmpType { Text, Number, Bool, DateTime };

struct Operand {
    bool isField = false;
    QString name; // field name as written
    int index = -1; // bound field index
    TFieldType fieldType = TFieldType::ftString;
    Tok literalKind = Tok::Text; // Text, Number, True/False
    QString source; // literal as written (numbers) or its value (text)
    double number = 0;
    int pos = 0;
    QVariant constant; // literal converted to the comparison type
};

} // namespace

struct TFilterExpression::Node {
    enum Kind { And, Or, Not, Compare, IsNull, Truth } kind = Compare;
    std::vector<std::unique_ptr<Node>> children; // And, Or: two or more; Not: one
    Operand left;
    Operand right;
    Op op = Op::Eq;
    bool negate = false; // IS NOT NULL
    CmpType type = CmpType::Text;
};

namespace {

using Node = TFilterExpression::Node;

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) { Lex(); }

    std::unique_ptr<Node> Parse()
    {
        if (m_tokens.size() == 1) // only End: blank text
            return nullptr;
        auto root = ParseOr(0);
        const Token& t = Peek();
        if (t.type == Tok::RParen)
            Fail(QStringLiteral("parênteses desbalanceados: ')' na posição %1 não tem '(' correspondente").arg(t.pos));
        if (t.type != Tok::End)
            Fail(QStringLiteral("%1 inesperado na posição %2, esperado AND ou OR").arg(Describe(t)).arg(t.pos));
        return root;
    }

    [[noreturn]] void Fail(const QString& problem) const
    {
        throw EDatabaseError(QStringLiteral("Filtro inválido \"%1\": %2").arg(m_text, problem));
    }

private:
    const Token& Peek() const { return m_tokens[m_next]; }
    Token Take()
    {
        const Token t = m_tokens[m_next];
        if (t.type != Tok::End)
            ++m_next;
        return t;
    }

    static QString Describe(const Token& t)
    {
        switch (t.type) {
        case Tok::End: return QStringLiteral("fim do texto");
        case Tok::Text: return QStringLiteral("texto '%1'").arg(t.text);
        default: return QStringLiteral("'%1'").arg(t.text);
        }
    }

    static bool EndsOperand(const Token& t)
    {
        return t.type == Tok::End || t.type == Tok::RParen || t.type == Tok::And || t.type == Tok::Or;
    }

    void CheckDepth(int depth) const
    {
        if (depth > kMaxDepth)
            Fail(QStringLiteral("aninhado em mais de %1 níveis").arg(kMaxDepth));
    }

    std::unique_ptr<Node> ParseOr(int depth)
    {
        CheckDepth(depth);
        auto first = ParseAnd(depth);
        if (Peek().type != Tok::Or)
            return first;
        auto node = std::make_unique<Node>();
        node->kind = Node::Or;
        node->children.push_back(std::move(first));
        while (Peek().type == Tok::Or) {
            const Token op = Take();
            if (EndsOperand(Peek()))
                Fail(QStringLiteral("'%1' na posição %2 não tem operando à direita").arg(op.text).arg(op.pos));
            node->children.push_back(ParseAnd(depth));
        }
        return node;
    }

    std::unique_ptr<Node> ParseAnd(int depth)
    {
        auto first = ParseNot(depth);
        if (Peek().type != Tok::And)
            return first;
        auto node = std::make_unique<Node>();
        node->kind = Node::And;
        node->children.push_back(std::move(first));
        while (Peek().type == Tok::And) {
            const Token op = Take();
            if (EndsOperand(Peek()))
                Fail(QStringLiteral("'%1' na posição %2 não tem operando à direita").arg(op.text).arg(op.pos));
            node->children.push_back(ParseNot(depth));
        }
        return node;
    }

    std::unique_ptr<Node> ParseNot(int depth)
    {
        CheckDepth(depth);
        if (Peek().type == Tok::Not) {
            const Token op = Take();
            if (EndsOperand(Peek()))
                Fail(QStringLiteral("'%1' na posição %2 não tem o que negar").arg(op.text).arg(op.pos));
            auto node = std::make_unique<Node>();
            node->kind = Node::Not;
            node->children.push_back(ParseNot(depth + 1));
            return node;
        }
        if (Peek().type == Tok::LParen) {
            const Token open = Take();
            if (Peek().type == Tok::RParen)
                Fail(QStringLiteral("parênteses vazios na posição %1").arg(open.pos));
            auto inner = ParseOr(depth + 1);
            if (Peek().type != Tok::RParen)
                Fail(QStringLiteral("falta ')' para o '(' da posição %1").arg(open.pos));
            Take();
            return inner;
        }
        return ParsePredicate();
    }

    std::unique_ptr<Node> ParsePredicate()
    {
        const Token& t = Peek();
        if (t.type == Tok::Op)
            Fail(QStringLiteral("o operador '%1' na posição %2 não tem operando à esquerda").arg(t.text).arg(t.pos));
        if (t.type == Tok::And || t.type == Tok::Or)
            Fail(QStringLiteral("'%1' na posição %2 não tem operando à esquerda").arg(t.text).arg(t.pos));
        if (t.type == Tok::RParen)
            Fail(QStringLiteral("parênteses desbalanceados: ')' na posição %1 não tem '(' correspondente").arg(t.pos));
        if (t.type == Tok::End)
            Fail(QStringLiteral("o texto termina onde se espera uma condição"));

        auto node = std::make_unique<Node>();
        node->left = ParseOperand();
        const Token& next = Peek();
        if (next.type == Tok::Op) {
            const Token op = Take();
            node->kind = Node::Compare;
            node->op = ToOp(op.text);
            if (EndsOperand(Peek()))
                Fail(QStringLiteral("o operador '%1' na posição %2 não tem operando à direita")
                         .arg(op.text)
                         .arg(op.pos));
            node->right = ParseOperand();
            return node;
        }
        if (next.type == Tok::Is) {
            const Token is = Take();
            if (!node->left.isField)
                Fail(QStringLiteral("IS NULL na posição %1 precisa de um campo à esquerda").arg(is.pos));
            node->kind = Node::IsNull;
            if (Peek().type == Tok::Not) {
                Take();
                node->negate = true;
            }
            if (Peek().type != Tok::Null)
                Fail(QStringLiteral("esperado NULL depois de IS na posição %1").arg(is.pos));
            Take();
            return node;
        }
        if (!node->left.isField && node->left.literalKind != Tok::True && node->left.literalKind != Tok::False)
            Fail(QStringLiteral("esperado um operador de comparação depois de %1 na posição %2")
                     .arg(node->left.literalKind == Tok::Text ? QStringLiteral("texto '%1'").arg(node->left.source)
                                                              : QStringLiteral("'%1'").arg(node->left.source))
                     .arg(node->left.pos));
        node->kind = Node::Truth;
        return node;
    }

    Operand ParseOperand()
    {
        Token t = Take();
        Operand o;
        o.pos = t.pos;
        switch (t.type) {
        case Tok::Ident:
            o.isField = true;
            o.name = t.text;
            return o;
        case Tok::Text:
            o.literalKind = Tok::Text;
            o.source = t.text;
            return o;
        case Tok::Sign: {
            const Token n = Take();
            if (n.type != Tok::Number)
                Fail(QStringLiteral("o sinal '%1' na posição %2 não é seguido de um número").arg(t.text).arg(t.pos));
            o.literalKind = Tok::Number;
            o.source = t.text + n.text;
            o.number = n.text.toDouble() * (t.text == QLatin1String("-") ? -1 : 1);
            return o;
        }
        case Tok::Number:
            o.literalKind = Tok::Number;
            o.source = t.text;
            o.number = t.text.toDouble();
            return o;
        case Tok::True:
        case Tok::False:
            o.literalKind = t.type;
            o.source = t.text;
            return o;
        case Tok::Null:
            Fail(QStringLiteral("NULL na posição %1 não pode ser comparado; use IS NULL ou IS NOT NULL").arg(t.pos));
        case Tok::Op:
            Fail(QStringLiteral("o operador '%1' na posição %2 não tem operando à esquerda").arg(t.text).arg(t.pos));
        default:
            Fail(QStringLiteral("esperado um nome de campo ou um valor na posição %1, encontrado %2")
                     .arg(t.pos)
                     .arg(Describe(t)));
        }
    }

    static Op ToOp(const QString& s)
    {
        if (s == QLatin1String("="))
            return Op::Eq;
        if (s == QLatin1String("<>") || s == QLatin1String("!="))
            return Op::Ne;
        if (s == QLatin1String("<"))
            return Op::Lt;
        if (s == QLatin1String(">"))
            return Op::Gt;
        if (s == QLatin1String("<="))
            return Op::Le;
        return Op::Ge;
    }

    void Lex()
    {
        const QString& s = m_text;
        const int n = int(s.size());
        int i = 0;
        while (i < n) {
            const QChar c = s[i];
            if (c.isSpace()) {
                ++i;
                continue;
            }
            Token t;
            t.pos = i + 1;
            if (c.isLetter() || c == u'_') {
                int j = i + 1;
                while (j < n && (s[j].isLetterOrNumber() || s[j] == u'_'))
                    ++j;
                t.text = s.mid(i, j - i);
                const QString up = t.text.toUpper();
                if (up == QLatin1String("AND"))
                    t.type = Tok::And;
                else if (up == QLatin1String("OR"))
                    t.type = Tok::Or;
                else if (up == QLatin1String("NOT"))
                    t.type = Tok::Not;
                else if (up == QLatin1String("IS"))
                    t.type = Tok::Is;
                else if (up == QLatin1String("NULL"))
                    t.type = Tok::Null;
                else if (up == QLatin1String("TRUE"))
                    t.type = Tok::True;
                else if (up == QLatin1String("FALSE"))
                    t.type = Tok::False;
                else
                    t.type = Tok::Ident;
                i = j;
            } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
                int j = i;
                while (j < n && s[j].isDigit())
                    ++j;
                if (j < n && s[j] == u'.') {
                    ++j;
                    while (j < n && s[j].isDigit())
                        ++j;
                }
                if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                    int k = j + 1;
                    if (k < n && (s[k] == u'+' || s[k] == u'-'))
                        ++k;
                    if (k < n && s[k].isDigit()) {
                        while (k < n && s[k].isDigit())
                            ++k;
                        j = k;
                    }
                }
                t.type = Tok::Number;
                t.text = s.mid(i, j - i);
                i = j;
            } else if (c == u'\'') {
                QString value;
                int j = i + 1;
                bool closed = false;
                while (j < n) {
                    if (s[j] == u'\'') {
                        if (j + 1 < n && s[j + 1] == u'\'') {
                            value += u'\'';
                            j += 2;
                            continue;
                        }
                        closed = true;
                        ++j;
                        break;
                    }
                    value += s[j++];
                }
                if (!closed)
                    Fail(QStringLiteral("texto literal sem fim a partir da posição %1").arg(t.pos));
                t.type = Tok::Text;
                t.text = value;
                i = j;
            } else if (c == u'=') {
                t.type = Tok::Op;
                t.text = QStringLiteral("=");
                ++i;
            } else if (c == u'<' || c == u'>' || c == u'!') {
                QString op(c);
                if (i + 1 < n && (s[i + 1] == u'=' || (c == u'<' && s[i + 1] == u'>')))
                    op += s[i + 1];
                if (op == QLatin1String("!"))
                    Fail(QStringLiteral("caractere '!' inesperado na posição %1").arg(t.pos));
                t.type = Tok::Op;
                t.text = op;
                i += int(op.size());
            } else if (c == u'(' || c == u')') {
                t.type = c == u'(' ? Tok::LParen : Tok::RParen;
                t.text = QString(c);
                ++i;
            } else if (c == u'-' || c == u'+') {
                t.type = Tok::Sign;
                t.text = QString(c);
                ++i;
            } else {
                Fail(QStringLiteral("caractere '%1' inesperado na posição %2").arg(c).arg(t.pos));
            }
            m_tokens.push_back(t);
        }
        Token end;
        end.pos = n + 1;
        m_tokens.push_back(end);
    }

    QString m_text;
    std::vector<Token> m_tokens;
    size_t m_next = 0;
};

CmpType TypeOf(TFieldType t)
{
    switch (t) {
    case TFieldType::ftString: return CmpType::Text;
    case TFieldType::ftInteger:
    case TFieldType::ftFloat: return CmpType::Number;
    case TFieldType::ftBoolean: return CmpType::Bool;
    case TFieldType::ftDateTime: return CmpType::DateTime;
    }
    return CmpType::Text;
}

bool IsNumeric(TFieldType t)
{
    return t == TFieldType::ftInteger || t == TFieldType::ftFloat;
}

bool IsNullValue(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

// A stored value in the comparison type, with the null rules of the header.
QVariant AsCmp(const QVariant& v, CmpType type)
{
    switch (type) {
    case CmpType::Text:
        if (IsNullValue(v))
            return QString();
        if (v.typeId() == QMetaType::QString)
            return v;
        return TField::ConvertValue(v, TFieldDef{QString(), TFieldType::ftString, 0, false, QString()});
    case CmpType::Number: return IsNullValue(v) ? 0.0 : v.toDouble();
    case CmpType::Bool: return IsNullValue(v) ? false : v.toBool();
    case CmpType::DateTime: return IsNullValue(v) ? QDateTime() : v.toDateTime();
    }
    return v;
}

int Compare(const QVariant& a, const QVariant& b, CmpType type)
{
    switch (type) {
    case CmpType::Text: {
        const int c = a.toString().compare(b.toString(), Qt::CaseSensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    case CmpType::Number: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case CmpType::Bool: return int(a.toBool()) - int(b.toBool());
    case CmpType::DateTime: {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        if (!x.isValid() || !y.isValid())
            return int(x.isValid()) - int(y.isValid());
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    }
    return 0;
}

class Binder {
public:
    Binder(const Parser& parser, const QList<TFieldDef>& defs) : m_parser(parser), m_defs(defs) {}

    void Bind(Node& node)
    {
        switch (node.kind) {
        case Node::And:
        case Node::Or:
        case Node::Not:
            for (auto& c : node.children)
                Bind(*c);
            return;
        case Node::IsNull: Resolve(node.left); return;
        case Node::Truth:
            if (node.left.isField) {
                Resolve(node.left);
                if (node.left.fieldType != TFieldType::ftBoolean)
                    m_parser.Fail(
                        QStringLiteral("o campo '%1' não é lógico e precisa de uma comparação").arg(node.left.name));
            }
            node.type = CmpType::Bool;
            if (!node.left.isField)
                node.left.constant = node.left.literalKind == Tok::True;
            return;
        case Node::Compare: BindCompare(node); return;
        }
    }

private:
    void Resolve(Operand& o)
    {
        for (int i = 0; i < m_defs.size(); ++i) {
            if (m_defs[i].Name.compare(o.name, Qt::CaseInsensitive) == 0) {
                o.index = i;
                o.fieldType = m_defs[i].DataType;
                return;
            }
        }
        m_parser.Fail(QStringLiteral("campo desconhecido '%1'").arg(o.name));
    }

    void BindCompare(Node& node)
    {
        Operand& l = node.left;
        Operand& r = node.right;
        if (l.isField)
            Resolve(l);
        if (r.isField)
            Resolve(r);
        if (l.isField && r.isField) {
            if (IsNumeric(l.fieldType) && IsNumeric(r.fieldType))
                node.type = CmpType::Number;
            else if (l.fieldType == r.fieldType)
                node.type = TypeOf(l.fieldType);
            else
                node.type = CmpType::Text;
            return;
        }
        if (l.isField || r.isField) {
            const Operand& field = l.isField ? l : r;
            Operand& literal = l.isField ? r : l;
            node.type = TypeOf(field.fieldType);
            literal.constant = Convert(literal, node.type, field.name);
            return;
        }
        const bool bothNumbers = l.literalKind == Tok::Number && r.literalKind == Tok::Number;
        const bool bothBool = (l.literalKind == Tok::True || l.literalKind == Tok::False)
            && (r.literalKind == Tok::True || r.literalKind == Tok::False);
        node.type = bothNumbers ? CmpType::Number : (bothBool ? CmpType::Bool : CmpType::Text);
        l.constant = Convert(l, node.type, QString());
        r.constant = Convert(r, node.type, QString());
    }

    QVariant Convert(const Operand& lit, CmpType type, const QString& fieldName)
    {
        const bool isBool = lit.literalKind == Tok::True || lit.literalKind == Tok::False;
        const bool boolValue = lit.literalKind == Tok::True;
        const QString against = fieldName.isEmpty() ? QString() : QStringLiteral(" do campo '%1'").arg(fieldName);
        switch (type) {
        case CmpType::Text:
            if (isBool)
                return boolValue ? QStringLiteral("True") : QStringLiteral("False");
            return lit.source;
        case CmpType::Number:
            if (lit.literalKind == Tok::Number)
                return lit.number;
            if (isBool)
                return boolValue ? 1.0 : 0.0;
            return AsCmp(ConvertText(lit, TFieldType::ftFloat, QStringLiteral("um número"), against), type);
        case CmpType::Bool:
            if (isBool)
                return boolValue;
            if (lit.literalKind == Tok::Number)
                return lit.number != 0;
            return AsCmp(ConvertText(lit, TFieldType::ftBoolean, QStringLiteral("a Boolean"), against), type);
        case CmpType::DateTime:
            if (lit.literalKind != Tok::Text)
                m_parser.Fail(QStringLiteral("'%1' na posição %2 não é uma data e hora%3")
                                  .arg(lit.source)
                                  .arg(lit.pos)
                                  .arg(against));
            return AsCmp(ConvertText(lit, TFieldType::ftDateTime, QStringLiteral("uma data e hora"), against), type);
        }
        return {};
    }

    QVariant ConvertText(const Operand& lit, TFieldType to, const QString& what, const QString& against)
    {
        try {
            return TField::ConvertValue(lit.source, TFieldDef{QString(), to, 0, false, QString()});
        } catch (const EConvertError&) {
            m_parser.Fail(
                QStringLiteral("'%1' na posição %2 não é %3%4").arg(lit.source).arg(lit.pos).arg(what, against));
        }
    }

    const Parser& m_parser;
    const QList<TFieldDef>& m_defs;
};

QVariant OperandValue(const Operand& o, const QVariantList& row, CmpType type)
{
    if (!o.isField)
        return o.constant;
    return AsCmp(o.index < row.size() ? row[o.index] : QVariant(), type);
}

bool Evaluate(const Node& node, const QVariantList& row)
{
    switch (node.kind) {
    case Node::And:
        for (const auto& c : node.children)
            if (!Evaluate(*c, row))
                return false;
        return true;
    case Node::Or:
        for (const auto& c : node.children)
            if (Evaluate(*c, row))
                return true;
        return false;
    case Node::Not: return !Evaluate(*node.children.front(), row);
    case Node::IsNull: {
        const QVariant v = node.left.index < row.size() ? row[node.left.index] : QVariant();
        return IsNullValue(v) != node.negate;
    }
    case Node::Truth: return OperandValue(node.left, row, CmpType::Bool).toBool();
    case Node::Compare: {
        const int c = Compare(OperandValue(node.left, row, node.type), OperandValue(node.right, row, node.type),
                              node.type);
        switch (node.op) {
        case Op::Eq: return c == 0;
        case Op::Ne: return c != 0;
        case Op::Lt: return c < 0;
        case Op::Gt: return c > 0;
        case Op::Le: return c <= 0;
        case Op::Ge: return c >= 0;
        }
    }
    }
    return false;
}

} // namespace

TFilterExpression::~TFilterExpression() = default;

QString TFilterExpression::QuotedText(const QString& value)
{
    return QLatin1Char('\'') + QString(value).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

std::shared_ptr<const TFilterExpression> TFilterExpression::Compile(const QString& text, const QList<TFieldDef>* defs)
{
    Parser parser(text);
    std::shared_ptr<TFilterExpression> e(new TFilterExpression);
    e->m_text = text;
    e->m_root = parser.Parse();
    if (defs) {
        if (e->m_root)
            Binder(parser, *defs).Bind(*e->m_root);
        e->m_bound = true;
    }
    return e;
}

bool TFilterExpression::Matches(const QVariantList& row) const
{
    if (!m_root)
        return true;
    if (!m_bound)
        throw EDatabaseError(
            QStringLiteral("O filtro \"%1\" não está ligado à estrutura de um conjunto de dados").arg(m_text));
    return Evaluate(*m_root, row);
}
