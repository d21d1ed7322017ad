#pragma once
#include <QString>

// The leading numeric value of a text: blanks are skipped, then an optional sign,
// digits, a fraction and an exponent; it stops at the first other character. No
// number at all gives 0.
double gVal(const QString& text);

// Strict conversion to a 16-bit integer: the whole text (blanks around it aside)
// must be a number; it rounds half to even. Not a number raises error 13,
// outside -32768..32767 error 6.
qint16 gCInt(const QString& text);

// Round half to even to a whole number, as the integer conversions do.
double gRoundEven(double v);
