#include "datastore/sql_token.h"

namespace velmora {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The end of a token that runs to a closing character; a doubled closing
// character stands for itself when doubling is allowed.
int scanDelimited(const QString& text, int start, QChar close, bool doubling, bool* closed)
{
    int i = start + 1;
    while (i < text.size()) {
        if (text[i] == close) {
            if (doubling && i + 1 < text.size() && text[i + 1] == close) {
                i += 2;
                continue;
            }
            *closed = true;
            return i + 1;
        }
        ++i;
    }
    *closed = false;
    return i;
}

} // namespace

QString SqlToken::inner() const
{
    if (text.isEmpty())
        return text;
    const int closing = closed ? 1 : 0;
    QString body = text.mid(1, text.size() - 1 - closing);
    if (kind == Kind::Text)
        body.replace(QStringLiteral("''"), QStringLiteral("'"));
    else if (kind == Kind::QuotedName)
        body.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return body;
}

SqlTokens tokenizeSql(const QString& text)
{
    SqlTokens tokens;
    int i = 0;
    const int size = int(text.size());
    while (i < size) {
        SqlToken token;
        token.position = i;
        const QChar c = text[i];
        int end = i + 1;
        if (c.isSpace()) {
            token.kind = SqlToken::Kind::Space;
            while (end < size && text[end].isSpace())
                ++end;
        } else if (isWordStart(c)) {
            token.kind = SqlToken::Kind::Word;
            while (end < size && isWordPart(text[end]))
                ++end;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < size && text[i + 1].isDigit())) {
            token.kind = SqlToken::Kind::Number;
            bool seenPoint = c == QLatin1Char('.');
            while (end < size && (text[end].isDigit() || (!seenPoint && text[end] == QLatin1Char('.')))) {
                seenPoint = seenPoint || text[end] == QLatin1Char('.');
                ++end;
            }
        } else if (c == QLatin1Char('\'')) {
            token.kind = SqlToken::Kind::Text;
            end = scanDelimited(text, i, c, true, &token.closed);
        } else if (c == QLatin1Char('"')) {
            token.kind = SqlToken::Kind::QuotedName;
            end = scanDelimited(text, i, c, true, &token.closed);
        } else if (c == QLatin1Char('[')) {
            token.kind = SqlToken::Kind::BracketName;
            end = scanDelimited(text, i, QLatin1Char(']'), false, &token.closed);
        } else if (c == QLatin1Char('#')) {
            token.kind = SqlToken::Kind::DateLiteral;
            end = scanDelimited(text, i, c, false, &token.closed);
        } else if (c == QLatin1Char(':') && i + 1 < size && isWordStart(text[i + 1])) {
            token.kind = SqlToken::Kind::Parameter;
            while (end < size && isWordPart(text[end]))
                ++end;
        } else {
            token.kind = SqlToken::Kind::Symbol;
            const QStringView pair = QStringView(text).mid(i, 2);
            if (pair == u"<>" || pair == u"<=" || pair == u">=" || pair == u"!=" || pair == u"||")
                end = i + 2;
        }
        token.text = text.mid(i, end - i);
        tokens.push_back(token);
        i = end;
    }
    return tokens;
}

int nextSolidToken(const SqlTokens& tokens, int from)
{
    int i = from;
    while (i < int(tokens.size()) && tokens[i].kind == SqlToken::Kind::Space)
        ++i;
    return i;
}

int previousSolidToken(const SqlTokens& tokens, int from)
{
    int i = from - 1;
    while (i >= 0 && tokens[i].kind == SqlToken::Kind::Space)
        --i;
    return i;
}

QString joinTokens(const SqlTokens& tokens)
{
    QString text;
    for (const SqlToken& token : tokens)
        text += token.text;
    return text;
}

} // namespace velmora
