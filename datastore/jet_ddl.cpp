#include "datastore/jet_ddl.h"

#include <QHash>

namespace velmora {

namespace {

const QString kCounter = QStringLiteral("COUNTER");

const QHash<QString, QString>& jetTypes()
{
    static const QHash<QString, QString> types = [] {
        QHash<QString, QString> map;
        const auto add = [&map](const QString& sqliteType, std::initializer_list<const char*> names) {
            for (const char* name : names)
                map.insert(QString::fromLatin1(name), sqliteType);
        };
        add(QStringLiteral("TEXT"), {"TEXT", "CHAR", "VARCHAR", "CHARACTER", "STRING", "ALPHANUMERIC",
                                     "NCHAR", "NVARCHAR"});
        add(QStringLiteral("LONGTEXT"), {"MEMO", "LONGTEXT", "LONGCHAR", "NOTE", "NTEXT"});
        add(QStringLiteral("DATETIME"), {"DATETIME", "DATE", "TIME", "TIMESTAMP"});
        add(QStringLiteral("BOOLEAN"), {"YESNO", "BIT", "LOGICAL", "LOGICAL1", "BOOLEAN"});
        add(kCounter, {"COUNTER", "AUTOINCREMENT", "IDENTITY"});
        add(QStringLiteral("INTEGER"), {"LONG", "INT", "INTEGER", "INTEGER4", "SHORT", "SMALLINT",
                                        "INTEGER2", "BYTE", "TINYINT", "INTEGER1"});
        add(QStringLiteral("DOUBLE"), {"DOUBLE", "FLOAT", "FLOAT8", "SINGLE", "FLOAT4", "REAL",
                                       "IEEESINGLE", "IEEEDOUBLE", "CURRENCY", "MONEY", "NUMBER"});
        add(QStringLiteral("BLOB"), {"LONGBINARY", "OLEOBJECT", "GENERAL", "IMAGE", "BINARY", "VARBINARY"});
        return map;
    }();
    return types;
}

bool isConstraintStart(const SqlToken& token)
{
    return token.isWord(u"CONSTRAINT") || token.isWord(u"PRIMARY") || token.isWord(u"UNIQUE")
        || token.isWord(u"FOREIGN") || token.isWord(u"CHECK");
}

// The index just past the parenthesised group that opens at open.
int skipGroup(const SqlTokens& tokens, int open)
{
    int depth = 0;
    for (int i = open; i < int(tokens.size()); ++i) {
        if (tokens[i].isSymbol(u"("))
            ++depth;
        else if (tokens[i].isSymbol(u")") && --depth == 0)
            return i + 1;
    }
    return int(tokens.size());
}

// One column definition, tokens [begin, end): the name, then the type.
void translateColumn(SqlTokens& tokens, int begin, int end)
{
    const int name = nextSolidToken(tokens, begin);
    if (name >= end || isConstraintStart(tokens[name]))
        return;
    const int type = nextSolidToken(tokens, name + 1);
    if (type >= end || tokens[type].kind != SqlToken::Kind::Word)
        return;
    QString sqliteType = sqliteColumnType(tokens[type].text);
    if (sqliteType.isEmpty())
        return;
    // Sizes (Char(255)) and counter seeds (Counter(1, 1)) mean nothing to SQLite.
    const int size = nextSolidToken(tokens, type + 1);
    if (size < end && tokens[size].isSymbol(u"(")) {
        for (int i = type + 1, stop = skipGroup(tokens, size); i < stop; ++i)
            tokens[i].text.clear();
    }
    if (sqliteType == kCounter) {
        sqliteType = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        for (int i = type + 1; i < end; ++i) {
            if (tokens[i].isWord(u"KEY") && tokens[previousSolidToken(tokens, i)].isWord(u"PRIMARY")) {
                tokens[i].text += QStringLiteral(" AUTOINCREMENT");
                sqliteType = QStringLiteral("INTEGER");
                break;
            }
        }
    }
    tokens[type].text = sqliteType;
}

// Calls translateColumn for each comma-separated part of [begin, end) at the
// nesting depth of begin.
void translateColumnList(SqlTokens& tokens, int begin, int end)
{
    int depth = 0;
    int partStart = begin;
    for (int i = begin; i < end; ++i) {
        if (tokens[i].isSymbol(u"("))
            ++depth;
        else if (tokens[i].isSymbol(u")"))
            --depth;
        else if (depth == 0 && tokens[i].isSymbol(u",")) {
            translateColumn(tokens, partStart, i);
            partStart = i + 1;
        }
    }
    translateColumn(tokens, partStart, end);
}

std::vector<SqlTokens> translateCreateTable(SqlTokens tokens, int afterTable)
{
    for (int i = afterTable; i < int(tokens.size()); ++i) {
        if (tokens[i].isWord(u"AS"))
            break; // CREATE TABLE ... AS SELECT declares no types
        if (tokens[i].isSymbol(u"(")) {
            const int close = skipGroup(tokens, i) - 1;
            translateColumnList(tokens, i + 1, close);
            break;
        }
    }
    return {tokens};
}

std::vector<SqlTokens> translateAlterTableAdd(const SqlTokens& tokens, int add)
{
    int first = nextSolidToken(tokens, add + 1);
    if (first < int(tokens.size()) && tokens[first].isWord(u"COLUMN"))
        first = nextSolidToken(tokens, first + 1);
    const SqlTokens prefix(tokens.begin(), tokens.begin() + first);

    std::vector<SqlTokens> statements;
    const auto addStatement = [&](int begin, int end) {
        SqlTokens statement = prefix;
        const int columnStart = int(statement.size());
        // The column's own leading blanks would follow ADD's blank twice.
        statement.insert(statement.end(), tokens.begin() + nextSolidToken(tokens, begin), tokens.begin() + end);
        translateColumn(statement, columnStart, int(statement.size()));
        statements.push_back(std::move(statement));
    };
    int depth = 0;
    int partStart = first;
    for (int i = first; i < int(tokens.size()); ++i) {
        if (tokens[i].isSymbol(u"("))
            ++depth;
        else if (tokens[i].isSymbol(u")"))
            --depth;
        else if (depth == 0 && tokens[i].isSymbol(u",")) {
            addStatement(partStart, i);
            partStart = i + 1;
        }
    }
    addStatement(partStart, int(tokens.size()));
    return statements;
}

} // namespace

QString sqliteColumnType(const QString& jetType)
{
    return jetTypes().value(jetType.toUpper());
}

std::vector<SqlTokens> translateJetDdl(const SqlTokens& statement)
{
    const int verb = nextSolidToken(statement, 0);
    if (verb >= int(statement.size()))
        return {statement};
    int next = nextSolidToken(statement, verb + 1);
    if (statement[verb].isWord(u"CREATE")) {
        if (next < int(statement.size()) && (statement[next].isWord(u"TEMP") || statement[next].isWord(u"TEMPORARY")))
            next = nextSolidToken(statement, next + 1);
        if (next < int(statement.size()) && statement[next].isWord(u"TABLE"))
            return translateCreateTable(statement, next + 1);
    } else if (statement[verb].isWord(u"ALTER") && next < int(statement.size()) && statement[next].isWord(u"TABLE")) {
        const int table = nextSolidToken(statement, next + 1);
        const int add = nextSolidToken(statement, table + 1);
        if (add < int(statement.size()) && statement[add].isWord(u"ADD"))
            return translateAlterTableAdd(statement, add);
    }
    return {statement};
}

} // namespace velmora
