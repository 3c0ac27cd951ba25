#include "datastore/sql_dialect.h"

#include "datastore/date_literal.h"
#include "datastore/jet_ddl.h"
#include "datastore/sql_token.h"
#include "platform/exception.h"

namespace velmora {

namespace {

using Kind = SqlToken::Kind;

SqlTokens::iterator solidEnd(SqlTokens& tokens)
{
    return tokens.begin() + (previousSolidToken(tokens, int(tokens.size())) + 1);
}

std::vector<SqlTokens> splitStatements(const SqlTokens& tokens)
{
    std::vector<SqlTokens> statements(1);
    for (const SqlToken& token : tokens) {
        if (token.isSymbol(u";"))
            statements.emplace_back();
        else
            statements.back().push_back(token);
    }
    std::erase_if(statements, [](const SqlTokens& statement) {
        return nextSolidToken(statement, 0) == int(statement.size());
    });
    return statements;
}

void quoteBracketNames(SqlTokens& tokens)
{
    for (SqlToken& token : tokens) {
        if (token.kind == Kind::BracketName && token.closed) {
            QString name = token.inner();
            token.text = QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\""))
                + QLatin1Char('"');
        }
    }
}

void replaceDateLiterals(SqlTokens& tokens)
{
    for (SqlToken& token : tokens) {
        if (token.kind != Kind::DateLiteral)
            continue;
        const auto value = token.closed ? parseDateLiteral(token.inner()) : std::nullopt;
        if (!value)
            throw Exception(QStringLiteral("Invalid date %1 at position %2").arg(token.text).arg(token.position + 1));
        token.text = dayNumberText(*value);
    }
}

// Booleans are stored as 0 and 1; a comparison with True asks for non-zero,
// so a true written by another program as -1 still counts. In an UPDATE's
// SET list "= True" is an assignment and becomes "= 1".
void replaceBooleans(SqlTokens& tokens)
{
    bool inSetList = false;
    for (int i = 0; i < int(tokens.size()); ++i) {
        SqlToken& token = tokens[i];
        if (token.isWord(u"SET"))
            inSetList = true;
        else if (token.isWord(u"WHERE"))
            inSetList = false;
        const bool isTrue = token.isWord(u"True");
        if (!isTrue && !token.isWord(u"False"))
            continue;
        const int before = previousSolidToken(tokens, i);
        if (before >= 0 && tokens[before].isSymbol(u"."))
            continue; // a column that happens to be called True
        const bool comparison = before >= 0 && !inSetList
            && (tokens[before].isSymbol(u"=") || tokens[before].isSymbol(u"<>") || tokens[before].isSymbol(u"!="));
        if (comparison) {
            const bool askNonZero = isTrue == tokens[before].isSymbol(u"=");
            tokens[before].text = askNonZero ? QStringLiteral("<>") : QStringLiteral("=");
            token.text = QStringLiteral("0");
        } else {
            token.text = isTrue ? QStringLiteral("1") : QStringLiteral("0");
        }
    }
}

// SELECT [DISTINCT] TOP n ... becomes SELECT [DISTINCT] ... LIMIT n, the LIMIT
// at the end of the select's own scope: its parentheses, or the statement.
void moveTopToLimit(SqlTokens& tokens)
{
    std::vector<QString> limits(1);
    for (int i = 0; i < int(tokens.size()); ++i) {
        SqlToken& token = tokens[i];
        if (token.isSymbol(u"(")) {
            limits.emplace_back();
        } else if (token.isSymbol(u")") && limits.size() > 1) {
            if (!limits.back().isEmpty())
                token.text = QStringLiteral(" LIMIT ") + limits.back() + token.text;
            limits.pop_back();
        } else if (token.isWord(u"SELECT")) {
            int top = nextSolidToken(tokens, i + 1);
            if (top < int(tokens.size()) && tokens[top].isWord(u"DISTINCTROW"))
                tokens[top].text = QStringLiteral("DISTINCT");
            if (top < int(tokens.size()) && (tokens[top].isWord(u"DISTINCT") || tokens[top].isWord(u"ALL")))
                top = nextSolidToken(tokens, top + 1);
            if (top >= int(tokens.size()) || !tokens[top].isWord(u"TOP"))
                continue;
            const int count = nextSolidToken(tokens, top + 1);
            if (count >= int(tokens.size()) || tokens[count].kind != Kind::Number)
                continue;
            limits.back() = tokens[count].text;
            int last = count;
            if (last + 1 < int(tokens.size()) && tokens[last + 1].kind == Kind::Space)
                ++last;
            for (int j = top; j <= last; ++j)
                tokens[j].text.clear();
        }
    }
    if (!limits.front().isEmpty()) {
        SqlToken limit;
        limit.text = QStringLiteral(" LIMIT ") + limits.front();
        tokens.insert(solidEnd(tokens), limit);
    }
}

QString translateStatement(SqlTokens tokens)
{
    quoteBracketNames(tokens);
    replaceDateLiterals(tokens);
    replaceBooleans(tokens);
    moveTopToLimit(tokens);
    return joinTokens(tokens);
}

} // namespace

QStringList SqlDialect::translateStatements(const QString& sql)
{
    QStringList result;
    for (const SqlTokens& statement : splitStatements(tokenizeSql(sql))) {
        for (const SqlTokens& part : translateJetDdl(statement))
            result << translateStatement(part);
    }
    return result;
}

QString SqlDialect::translate(const QString& sql)
{
    return translateStatements(sql).join(QStringLiteral("; "));
}

} // namespace velmora
