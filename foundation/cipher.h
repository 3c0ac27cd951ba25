#pragma once
// The text cipher that keeps stored secrets (the connection string, the mail
// password) out of plain sight: a keyed running sum written as upper-case hex.

#include <QString>

namespace velmora {

// The key every program uses for the connection string.
inline constexpr char kConnectionKey[] = "Vq7#Lm2x@Rn9";
// Stands in for an empty key; only its first character then takes part.
inline constexpr char kDefaultCipherKey[] = "Kz4!Tw8$Hp3e";
static_assert(sizeof(kConnectionKey) == 13 && sizeof(kDefaultCipherKey) == 13, "cipher keys are 12 characters");

// The cipher works on character codes 1..255. A text holding any other
// character (NUL, or anything beyond Latin-1) cannot come back from
// DecodeText as it went in, so EncodeText refuses it with a velmora::Exception
// instead of storing a secret that silently differs from what the user typed.
// Widening the alphabet (say, UTF-8 first) would change the cipher of every
// text with accented Latin-1 letters and so break ciphers already stored.
bool CanEncodeText(const QString& text);

// Starts from a fresh random byte, so one text enciphers differently each time.
QString EncodeText(const QString& text, const QString& key);
// The same with a chosen first byte (0..255): repeatable ciphers for checks.
QString EncodeTextWithFirstByte(const QString& text, const QString& key, int firstByte);
// The inverse of EncodeText. A cipher text that EncodeText did not produce
// gives an unspecified text, never an error.
QString DecodeText(const QString& cipherText, const QString& key);

} // namespace velmora
