#pragma once

#include "editing/TextPlace.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Bytes as text and back: what the Edit menu copies and pastes, and the byte patterns typed for
// fill, find and replace.
//
// Hexadecimal text is read in tokens between separators: blanks, line ends, ",", ";", ":" and
// "-" (so "0A 1B", "0x0A,0x1B", "00:1A:2B" and "0A-1B" all read). A token is an optional "0x"
// and hexadecimal digits in either case, read two by two ("0a1b" is 0A 1B); a token of a single
// digit is a byte of its own ("0xA" is 0A).
namespace ByteTexts {

struct HexParse {
    enum class Error {
        None,
        Empty,           // no byte at all
        NotHexadecimal,  // a character that is neither a digit nor a separator
        OddDigits,       // a token of three or more digits, not in pairs
        MissingDigits,   // "0x" without digits after it
    };

    QByteArray bytes;  // when there is no error
    Error error = Error::None;
    TextPlace place;  // the offending character, or the token's first one

    [[nodiscard]] bool ok() const { return error == Error::None; }
};

[[nodiscard]] HexParse parseHex(QStringView text);

// "0A 1B …": two upper-case digits per byte, blanks between, 16 bytes to a line, lines
// separated by LF (no line end after the last).
[[nodiscard]] QString hexLines(QByteArrayView bytes);

// The characters the grid's text column shows for the bytes (GridTexts' fill rule), one per
// byte, without line ends.
[[nodiscard]] QString textColumn(QByteArrayView bytes);

}  // namespace ByteTexts
