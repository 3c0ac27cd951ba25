#pragma once
// Splits SQL or a filter text into tokens that keep their exact text and
// position, so a rewrite can change some tokens and leave the rest as typed.

#include <QString>
#include <QStringView>

#include <vector>

namespace velmora {

struct SqlToken {
    enum class Kind {
        Space,       // blanks, tabs, line breaks
        Word,        // keyword or bare name: SELECT, ITask, True
        Number,      // 12, 3.5, .5
        Text,        // 'it''s'
        QuotedName,  // "name"
        BracketName, // [name]
        DateLiteral, // #12/31/2005#
        Parameter,   // :ITaskID
        Symbol,      // ( ) , ; . * = <> <= >= and other single characters
    };

    Kind kind = Kind::Symbol;
    QString text;     // exactly as written, quotes and brackets included
    int position = 0; // index of the first character in the whole text
    bool closed = true; // false for a quote, bracket or # left open at the end

    bool isWord(QStringView word) const
    {
        return kind == Kind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    // A quoted text or name without its quotes, doubled quotes made single;
    // a bracket name or date literal without its delimiters.
    QString inner() const;
};

using SqlTokens = std::vector<SqlToken>;

SqlTokens tokenizeSql(const QString& text);
// The index of the first token at or after from that is not blank space,
// or tokens.size() when there is none.
int nextSolidToken(const SqlTokens& tokens, int from);
// The index of the last token before from that is not blank space, or -1.
int previousSolidToken(const SqlTokens& tokens, int from);
QString joinTokens(const SqlTokens& tokens);

} // namespace velmora
