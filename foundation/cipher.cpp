#include "foundation/cipher.h"

#include <QRandomGenerator>
#include <QStringDecoder>

namespace velmora {

namespace {

// Walks the key the way both directions must agree on: positions 1..length
// and around again; an empty key is replaced by the default key with length 0,
// which pins the position to its first character.
class KeyWalk {
public:
    explicit KeyWalk(const QString& key)
        : m_key(key.isEmpty() ? QString::fromLatin1(kDefaultCipherKey) : key), m_length(key.size())
    {
    }

    int next()
    {
        // A key character beyond Latin-1 takes part by its low byte; the key is
        // the same on both sides, so the round trip holds either way.
        const int code = m_key.at(m_position).unicode() & 0xFF;
        if (m_length > 0)
            m_position = (m_position + 1) % m_length;
        return code;
    }

private:
    QString m_key;
    qsizetype m_length;
    qsizetype m_position = 0;
};

void appendHexByte(QString& out, int value)
{
    static const char digits[] = "0123456789ABCDEF";
    out.append(QLatin1Char(digits[(value >> 4) & 0xF]));
    out.append(QLatin1Char(digits[value & 0xF]));
}

int hexByteAt(const QString& text, qsizetype position)
{
    bool ok = false;
    const int value = text.mid(position, 2).toInt(&ok, 16);
    return ok ? value : 0;
}

const QString kUtf8Mark = QStringLiteral("\u00EF\u00BB\u00BF");

// The characters the cipher walks over: the text itself when it is all
// Latin-1, otherwise the mark and the UTF-8 bytes, one character per byte.
QString cipherAlphabetForm(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    const QString plain = nul < 0 ? text : text.left(nul);
    if (CanEncodeText(plain))
        return plain;
    return kUtf8Mark + QString::fromLatin1(plain.toUtf8());
}

QString fromCipherAlphabetForm(const QString& decoded)
{
    if (!decoded.startsWith(kUtf8Mark))
        return decoded;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(decoded.mid(kUtf8Mark.size()).toLatin1());
    return utf8.hasError() ? decoded : text;
}

} // namespace

bool CanEncodeText(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 1 || c.unicode() > 255)
            return false;
    }
    return true;
}

QString EncodeText(const QString& text, const QString& key)
{
    return EncodeTextWithFirstByte(text, key, int(QRandomGenerator::global()->bounded(256)));
}

QString EncodeTextWithFirstByte(const QString& text, const QString& key, int firstByte)
{
    const QString plain = cipherAlphabetForm(text);
    QString out;
    out.reserve(2 * (plain.size() + 1));
    int a = firstByte & 0xFF;
    appendHexByte(out, a);
    KeyWalk walk(key);
    for (const QChar c : plain) {
        a = ((a + c.unicode()) % 255) ^ walk.next();
        appendHexByte(out, a);
    }
    return out;
}

QString DecodeText(const QString& cipherText, const QString& key)
{
    if (cipherText.size() <= 2)
        return {};

    QString out;
    out.reserve(cipherText.size() / 2 - 1);
    int value = hexByteAt(cipherText, 0);
    KeyWalk walk(key);
    for (qsizetype position = 2; position + 1 < cipherText.size(); position += 2) {
        const int a = hexByteAt(cipherText, position);
        const int c = a ^ walk.next();
        int plain = value >= c ? c - value + 255 : c - value;
        // Character 255 after a running byte of 255 sums to 510, which the
        // mod-255 step folds to 0, and the subtraction gives 0 back. No text
        // character is 0, so a 0 here can only have been 255.
        if (plain == 0)
            plain = 255;
        out.append(QChar(char16_t(plain)));
        value = a;
    }
    return fromCipherAlphabetForm(out);
}

} // namespace velmora
