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

// The cipher works on character codes 1..255, and a text of those alone is
// enciphered character by character, as ciphers already stored expect. A text
// with characters beyond Latin-1 (a Cyrillic folder in the connection string,
// a euro sign in a password) is enciphered as a UTF-8 byte-order mark followed
// by its UTF-8 bytes, which DecodeText recognises, so nothing is refused or
// lost. A text ends at its first NUL, as it always did.
bool CanEncodeText(const QString& text); // true when the character-wise form applies

// Starts from a fresh random byte, so one text enciphers differently each time.
QString EncodeText(const QString& text, const QString& key);
// The same with a chosen first byte (0..255): repeatable ciphers for checks.
QString EncodeTextWithFirstByte(const QString& text, const QString& key, int firstByte);
// The inverse of EncodeText. A cipher text that EncodeText did not produce
// gives an unspecified text, never an error.
QString DecodeText(const QString& cipherText, const QString& key);

} // namespace velmora
