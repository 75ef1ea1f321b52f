#pragma once

#include <QChar>
#include <QString>

// The program's hexadecimal texts: upper-case digits, zero-padded on the left to the width of
// the field (2 for a byte, 4 for an Intel HEX address or the checksum, 5 for a grid row label).

// `value` in upper-case hexadecimal, at least `width` digits.
[[nodiscard]] QString hexText(quint32 value, int width);

// The value of one hexadecimal digit "0".."9", "A".."F"; anything else (lower case included) is 0.
[[nodiscard]] int HexDigitValue(QChar c);

// Hexadecimal text of up to four digits -> 0..65535. Only the last four characters count; a
// character that is not a hexadecimal digit counts as 0, and so does a missing one.
[[nodiscard]] int HexValue(const QString& text);
