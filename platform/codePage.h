#pragma once
#include <QByteArray>
#include <QChar>
#include <QString>

// The program's "system code page" is always Windows code page 936 (GBK), whatever
// the locale: stored digests and database keys depend on these byte values.
namespace codepage {

// The value one character gets from the ANSI conversion: 0..255 for a single
// byte, lead * 256 + trail (above 255) for a double-byte character, 63 ("?")
// for a character the code page cannot represent and for a lone surrogate.
int ansiCode(QChar c);

// The character of a double-byte code, or a null QChar when it is not valid.
QChar fromDoubleByte(unsigned char lead, unsigned char trail);

// The character of a single byte value (0..255), or a null QChar for a lead byte.
QChar fromSingleByte(unsigned char b);

// Whole text to code-page bytes, character by character as ansiCode gives them.
QByteArray toAnsi(const QString& text);

} // namespace codepage
