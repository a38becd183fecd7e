#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Hex pairs: two characters become one byte, the first giving the high nibble
// and the second the low nibble. A string of decimal digits such as the time
// "0830" therefore becomes the BCD bytes 0x08 0x30, and a device "A012"
// becomes 0xA0 0x12.
namespace HexPair {

// The value of one hexadecimal character (0-9, A-F, a-f); nullopt for any
// other character, so a stray letter is reported instead of turning into a
// nibble above 15.
std::optional<quint8> nibble(QChar c);

// Two characters as one byte.
std::optional<quint8> toByte(QChar high, QChar low);

// A text of an even number of hexadecimal characters as bytes (two characters
// a byte); nullopt when the length is odd or a character is not hexadecimal.
std::optional<QByteArray> toBytes(const QString &text);

// Bytes as upper-case hexadecimal characters, two a byte.
QString fromBytes(const QByteArray &bytes);

// True when every character is hexadecimal (an empty text qualifies).
bool isHex(const QString &text);

} // namespace HexPair
