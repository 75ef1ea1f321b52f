#pragma once

#include <array>
#include <cstdint>

// The readers of hexadecimal file text: the value of one character, 0..15 for "0".."9",
// "A".."F" and "a".."f", -1 for anything else. A table, since it runs for every character of a
// file.
inline constexpr std::array<std::int8_t, 256> kHexDigitValues = [] {
    std::array<std::int8_t, 256> digits{};
    for (int c = 0; c < 256; ++c) {
        if (c >= '0' && c <= '9') {
            digits[c] = static_cast<std::int8_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digits[c] = static_cast<std::int8_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digits[c] = static_cast<std::int8_t>(c - 'a' + 10);
        } else {
            digits[c] = -1;
        }
    }
    return digits;
}();

[[nodiscard]] constexpr int hexDigitValue(char c)
{
    return kHexDigitValues[static_cast<std::uint8_t>(c)];
}
