#pragma once

#include "devices/SelectedDevice.h"
#include "link/TransferPlan.h"

#include <QString>

#include <optional>

struct CliOptions;

// The addresses one command works on: the whole part, the first --access-size bytes, or
// --offset and --length. The board moves whole blocks (the page size up to 16 bytes, 16 for
// Microwire parts), so a range starts and ends on a block boundary.
struct AccessRange {
    qint64 offset = 0;
    qint64 length = 0;
    bool wholePart = true;

    [[nodiscard]] qint64 lastAddress() const { return offset + length - 1; }
    // A block request for the range.
    [[nodiscard]] TransferRequest request(const SelectedDevice& device) const;
};

struct AccessRangeCheck {
    std::optional<AccessRange> range;
    QString error;  // in English, naming the part and its bounds
};

// Works the range out of `options` for `device` and checks it, before anything is sent.
[[nodiscard]] AccessRangeCheck checkAccessRange(const CliOptions& options,
                                                const SelectedDevice& device,
                                                const QString& partName);

// The bytes the board moves at a time on `device`: a range's unit. 0 when it can move none.
[[nodiscard]] int blockSizeOf(const SelectedDevice& device);

// "0x01FFF": an address as the command line prints it.
[[nodiscard]] QString addressText(qint64 address);
