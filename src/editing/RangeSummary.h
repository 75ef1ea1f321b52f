#pragma once

#include "editing/AddressRange.h"

#include <QByteArray>

#include <cstdint>

// What the status bar shows of a selection: where it begins and ends, how long it is, the
// low 16 bits of its byte sum (as the checksum label sums the image) and its CRC-32.
struct RangeSummary {
    qint64 start = 0;
    qint64 last = -1;  // the last address, included
    qint64 length = 0;
    std::uint16_t sum16 = 0;
    std::uint32_t crc32 = 0;

    // The summary of `range` (cut to the image) of `image`.
    [[nodiscard]] static RangeSummary of(const QByteArray& image, AddressRange range);
};
