#pragma once

#include "editing/TextPlace.h"

#include <QByteArray>
#include <QStringView>

// The bytes a find or replace looks for (or puts in), from what the user typed: hexadecimal
// bytes (as ByteTexts reads them), ASCII text, or Shift_JIS text (the data file's and the
// text column's code page, so "ﾃｽﾄ" is found as the grid shows it).
struct SearchPattern {
    enum class Form { Hex, Ascii, ShiftJis };
    enum class Error {
        None,
        Empty,           // nothing typed
        NotHexadecimal,  // Hex: see ByteTexts::HexParse
        OddDigits,       // Hex
        MissingDigits,   // Hex
        NotAscii,        // Ascii: a character beyond 0x7F
        NotShiftJis,     // ShiftJis: a character Shift_JIS cannot hold
    };

    QByteArray bytes;  // when there is no error
    Error error = Error::None;
    TextPlace place;  // the offending character

    [[nodiscard]] bool ok() const { return error == Error::None; }

    [[nodiscard]] static SearchPattern fromText(QStringView text, Form form);
};
