#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Reading numbers out of user texts, data-file words and stored settings.

// A decimal number: optional blanks, an optional sign, digits with an optional fraction and an
// optional exponent ("12", "-1", "2.5", ".5", "1e3"). Anything else is not a number.
[[nodiscard]] std::optional<double> parseDecimal(const QString& text);

// Rounds to the nearest whole number, a half to the even neighbour (2.5 -> 2, 3.5 -> 4).
[[nodiscard]] double roundHalfEven(double value);

// A decimal word rounded half-to-even into a signed 32-bit integer; empty text reads as 0.
// Not a number, or out of the 32-bit range: nothing.
[[nodiscard]] std::optional<std::int32_t> parseInt32Field(const QString& text);
