#pragma once

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>

// How the byte editor's boxes turn their text into a byte, and the byte into their text.
// "Nothing" always means: leave the byte in the image as it is.
namespace ByteEditorRules {

inline constexpr int kBackspace = 8;

// The hex box's key filter: the character code that reaches the box for a typed character
// code, or 0 to drop the key. Hexadecimal digits pass upper-cased, Backspace passes, every
// other character (control characters included) is dropped.
[[nodiscard]] int hexKeyPress(int keyCode);

// Hex box: the last two characters as hexadecimal digits, anything else counting as 0; an
// empty box gives 0.
[[nodiscard]] std::optional<std::uint8_t> hexBoxByte(const QString& text);

struct DecimalBoxEntry {
    bool showMaximum = false;          // the box must be set to "255"
    std::optional<std::uint8_t> byte;  // the byte to store
};

// Decimal box: not a number, or above 255, stores 255 and resets the box to "255"; a number
// rounds half to even (2.5 -> 2, 3.5 -> 4); one that rounds below 0 stores nothing.
[[nodiscard]] DecimalBoxEntry decimalBoxEntry(const QString& text);

// Character box: the first character as a single Shift_JIS byte. Empty text, a double-byte
// character or one Shift_JIS cannot hold give nothing.
[[nodiscard]] std::optional<std::uint8_t> characterBoxByte(const QString& text);

// "0A" and "10": the byte in the hexadecimal and the decimal box.
[[nodiscard]] QString hexBoxText(std::uint8_t value);
[[nodiscard]] QString decimalBoxText(std::uint8_t value);

}  // namespace ByteEditorRules
