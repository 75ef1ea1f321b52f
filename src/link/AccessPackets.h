#pragma once

#include "devices/BusFamily.h"

#include <QByteArray>

#include <array>
#include <cstdint>

struct SelectedDevice;

// The bytes of the board protocol that do not depend on the line: command letters, address
// packets and the progress figure.

// Byte access (one byte at the grid's current cell) or block access (a range from address 0).
enum class AccessMode { Byte = 1, Block = 2 };

// "2" for I2C parts, "3" for Microwire parts.
[[nodiscard]] char familyDigit(BusFamily family);

// "R"/"W" for command variants 0 and 1, "r"/"w" for variant 2.
[[nodiscard]] char readLetter(std::int32_t commandVariant);
[[nodiscard]] char writeLetter(std::int32_t commandVariant);

// The four bytes of a signed 32-bit value, most significant first (two's complement).
[[nodiscard]] std::array<std::uint8_t, 4> Long_To_Bytes(std::int32_t value);

// Chunk count, then address bits 16..23 (I2C) or the Microwire parameter (Microwire), then
// address bits 8..15 and 0..7. Address bits 24..31 are never sent.
[[nodiscard]] QByteArray Build_Address_Packet(int chunkCount, std::int32_t address,
                                              BusFamily family, std::int32_t microwireParam);

// Bytes per chunk: 1 for a byte access; for a block access the page size up to 16 (I2C) or
// always 16 (Microwire). 0 when the page size leaves nothing to move.
[[nodiscard]] int chunkCount(const SelectedDevice& device, AccessMode mode);

// (current - start) * 100 / (end - start + 1), rounded to the nearest whole number with a
// half going to the even neighbour. `end` must not be below `start`.
[[nodiscard]] int progressPercent(std::int64_t current, std::int64_t start, std::int64_t end);
