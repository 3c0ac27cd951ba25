#include "datastore/filter_expression.h"

#include "datastore/date_literal.h"
#include "datastore/filter_value.h"
#include "datastore/sql_token.h"
#include "platform/exception.h"

#include <optional>

namespace velmora {

namespace {

using Kind = SqlToken::Kind;

struct Operand {
    bool isField = false;
    QString field;
    FilterValue literal;

    FilterValue value(const FilterExpression::FieldLookup& lookup) const
    {
        if (!isField)
            return literal;
        bool found = false;
        const QVariant fieldValue = lookup(field, &found);
        if (!found)
            throw Exception(QStringLiteral("Field '%1' not found").arg(field));
        return FilterValue::fromVariant(fieldValue);
    }
};

bool isReservedWord(const SqlToken& token)
{
    for (const auto word : {u"AND", u"OR", u"NOT", u"LIKE", u"IS"}) {
        if (token.isWord(word))
            return true;
    }
    return false;
}

std::optional<FilterComparison> comparisonOf(const SqlToken& token)
{
    if (token.kind != Kind::Symbol)
        return std::nullopt;
    if (token.text == u"=")
        return FilterComparison::Equal;
    if (token.text == u"<>" || token.text == u"!=")
        return FilterComparison::NotEqual;
    if (token.text == u"<")
        return FilterComparison::Less;
    if (token.text == u">")
        return FilterComparison::Greater;
    if (token.text == u"<=")
        return FilterComparison::LessOrEqual;
    if (token.text == u">=")
        return FilterComparison::GreaterOrEqual;
    return std::nullopt;
}

} // namespace

struct FilterExpression::Node {
    enum class Kind { And, Or, Not, Compare, Like, IsNull };

    Kind kind = Kind::Compare;
    std::unique_ptr<Node> left;  // And, Or, Not
    std::unique_ptr<Node> right; // And, Or
    Operand subject;             // Compare, Like, IsNull
    Operand other;               // Compare; Like: the pattern
    FilterComparison comparison = FilterComparison::Equal;
    bool negated = false;        // NOT LIKE, IS NOT NULL
    std::optional<QRegularExpression> pattern; // Like with a written pattern

    bool matches(const FieldLookup& lookup) const
    {
        switch (kind) {
        case Kind::And:
            return left->matches(lookup) && right->matches(lookup);
        case Kind::Or:
            return left->matches(lookup) || right->matches(lookup);
        case Kind::Not:
            return !left->matches(lookup);
        case Kind::Compare:
            return compareFilterValues(subject.value(lookup), comparison, other.value(lookup));
        case Kind::IsNull:
            return subject.value(lookup).isNull() != negated;
        case Kind::Like: {
            const FilterValue value = subject.value(lookup);
            const FilterValue patternValue = pattern ? FilterValue() : other.value(lookup);
            if (value.isNull() || (!pattern && patternValue.isNull()))
                return false;
            const QRegularExpression expression = pattern ? *pattern : likePattern(patternValue.toText());
            return expression.match(value.toText()).hasMatch() != negated;
        }
        }
        return false;
    }
};

namespace {

using Node = FilterExpression::Node;

// Recursive descent over: or-expression := and-expression {OR and-expression};
// and-expression := unary {AND unary}; unary := NOT unary | ( or-expression )
// | condition; condition := operand (comparison operand | [NOT] LIKE operand
// | IS [NOT] NULL).
class FilterParser {
public:
    explicit FilterParser(const QString& text) : m_text(text)
    {
        for (const SqlToken& token : tokenizeSql(text)) {
            if (token.kind != Kind::Space)
                m_tokens.push_back(token);
        }
    }

    std::unique_ptr<Node> parse()
    {
        if (m_tokens.empty())
            return nullptr;
        auto root = orExpression();
        if (!atEnd())
            fail(QStringLiteral("'and' or 'or' expected"));
        return root;
    }

private:
    bool atEnd() const { return m_next >= int(m_tokens.size()); }
    const SqlToken& current() const { return m_tokens[m_next]; }
    bool nextIsWord(QStringView word) const { return !atEnd() && current().isWord(word); }
    bool nextIsSymbol(QStringView symbol) const { return !atEnd() && current().isSymbol(symbol); }

    [[noreturn]] void fail(const QString& what) const
    {
        const int position = atEnd() ? int(m_text.size()) + 1 : current().position + 1;
        throw Exception(QStringLiteral("Malformed filter \"%1\": %2 at position %3").arg(m_text, what).arg(position));
    }

    static std::unique_ptr<Node> join(Node::Kind kind, std::unique_ptr<Node> left, std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    std::unique_ptr<Node> orExpression()
    {
        auto node = andExpression();
        while (nextIsWord(u"OR")) {
            ++m_next;
            node = join(Node::Kind::Or, std::move(node), andExpression());
        }
        return node;
    }

    std::unique_ptr<Node> andExpression()
    {
        auto node = unary();
        while (nextIsWord(u"AND")) {
            ++m_next;
            node = join(Node::Kind::And, std::move(node), unary());
        }
        return node;
    }

    std::unique_ptr<Node> unary()
    {
        if (nextIsWord(u"NOT")) {
            ++m_next;
            return join(Node::Kind::Not, unary(), nullptr);
        }
        if (nextIsSymbol(u"(")) {
            ++m_next;
            auto node = orExpression();
            if (!nextIsSymbol(u")"))
                fail(QStringLiteral("')' expected"));
            ++m_next;
            return node;
        }
        return condition();
    }

    std::unique_ptr<Node> condition()
    {
        auto node = std::make_unique<Node>();
        node->subject = operand();
        if (atEnd())
            fail(QStringLiteral("a comparison expected"));
        if (const auto comparison = comparisonOf(current())) {
            ++m_next;
            node->comparison = *comparison;
            node->other = operand();
        } else if (nextIsWord(u"IS")) {
            ++m_next;
            node->kind = Node::Kind::IsNull;
            if (nextIsWord(u"NOT")) {
                ++m_next;
                node->negated = true;
            }
            if (!nextIsWord(u"NULL"))
                fail(QStringLiteral("'null' expected"));
            ++m_next;
        } else if (nextIsWord(u"LIKE") || nextIsWord(u"NOT")) {
            node->kind = Node::Kind::Like;
            if (nextIsWord(u"NOT")) {
                ++m_next;
                node->negated = true;
                if (!nextIsWord(u"LIKE"))
                    fail(QStringLiteral("'like' expected"));
            }
            ++m_next;
            node->other = operand();
            if (!node->other.isField && !node->other.literal.isNull())
                node->pattern = likePattern(node->other.literal.toText());
        } else {
            fail(QStringLiteral("a comparison expected"));
        }
        return node;
    }

    Operand operand()
    {
        if (atEnd())
            fail(QStringLiteral("a field or value expected"));
        const SqlToken& token = current();
        if (!token.closed)
            fail(QStringLiteral("unterminated %1").arg(token.text.left(1)));
        Operand result;
        switch (token.kind) {
        case Kind::Word:
            if (token.isWord(u"True") || token.isWord(u"False")) {
                result.literal = FilterValue::fromBoolean(token.isWord(u"True"));
            } else if (token.isWord(u"Null")) {
                result.literal = FilterValue::null();
            } else if (isReservedWord(token)) {
                fail(QStringLiteral("a field or value expected"));
            } else {
                result.isField = true;
                result.field = token.text;
            }
            break;
        case Kind::BracketName:
            result.isField = true;
            result.field = token.inner();
            break;
        case Kind::Number:
            result.literal = FilterValue::fromNumber(token.text.toDouble());
            break;
        case Kind::Text:
            result.literal = FilterValue::fromText(token.inner());
            break;
        case Kind::DateLiteral: {
            const auto date = parseDateLiteral(token.inner());
            if (!date)
                fail(QStringLiteral("invalid date %1").arg(token.text));
            result.literal = FilterValue::fromDate(*date);
            break;
        }
        case Kind::Symbol:
            if (token.isSymbol(u"-") && m_next + 1 < int(m_tokens.size())
                && m_tokens[m_next + 1].kind == Kind::Number) {
                ++m_next;
                result.literal = FilterValue::fromNumber(-current().text.toDouble());
                break;
            }
            [[fallthrough]];
        default:
            fail(QStringLiteral("a field or value expected"));
        }
        ++m_next;
        return result;
    }

    QString m_text;
    SqlTokens m_tokens;
    int m_next = 0;
};

} // namespace

FilterExpression FilterExpression::parse(const QString& text)
{
    FilterExpression expression;
    expression.m_root = FilterParser(text).parse();
    return expression;
}

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

bool FilterExpression::isEmpty() const
{
    return !m_root;
}

bool FilterExpression::matches(const FieldLookup& lookup) const
{
    return !m_root || m_root->matches(lookup);
}

} // namespace velmora
