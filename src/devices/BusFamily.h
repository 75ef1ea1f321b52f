#pragma once

#include <cstdint>

// The bus of a part, numbered as the data file and the board's commands number it: the family
// digit of the preparation and access commands ("e2P", "e3R") is this number. A data file may
// hold other numbers; such a part is listed but never read or written.
enum class BusFamily : std::int32_t {
    I2c = 2,        // 24Cxx
    Microwire = 3,  // 93Cxx
};

// Whether `family` is one the board can be asked about.
[[nodiscard]] constexpr bool isKnownBus(BusFamily family)
{
    return family == BusFamily::I2c || family == BusFamily::Microwire;
}
