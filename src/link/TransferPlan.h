#pragma once

#include "devices/SelectedDevice.h"
#include "link/AccessOutcome.h"
#include "link/AccessPackets.h"

#include <chrono>
#include <cstdint>
#include <optional>

// The range, chunk size and command of one read or write, worked out before anything is sent.
struct TransferPlan {
    AccessMode mode = AccessMode::Block;
    BusFamily family = BusFamily::I2c;
    std::int32_t commandVariant = 0;
    std::int32_t microwireParam = 0;
    int chunkCount = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;                                                    // inclusive
    std::chrono::microseconds writeTime{SelectedDevice::kLongestWriteTime};  // the part's

    [[nodiscard]] qint64 byteCount() const { return qint64{end} - start + 1; }
    // The range rounded up to whole chunks: the board moves whole chunks only.
    [[nodiscard]] qint64 chunkedByteCount() const;
    // How long the part takes to program one chunk: an I2C chunk lies within one page and is
    // programmed in one cycle, a Microwire part programs byte by byte.
    [[nodiscard]] std::chrono::microseconds chunkProgrammingTime() const;

    // One address packet: a byte access sends the same one twice.
    [[nodiscard]] QByteArray startPacket() const;
    [[nodiscard]] QByteArray endPacket() const;
};

// What one access is asked to do; every value is the caller's, taken by value.
struct TransferRequest {
    AccessMode mode = AccessMode::Block;
    std::optional<SelectedDevice> device;
    std::int64_t offset = 0;                  // block access: the first address
    std::int64_t accessSize = 0;              // block access: the number of bytes
    std::optional<std::int64_t> cellAddress;  // byte access: the current byte cell, if any
};

struct TransferPlanResult {
    std::optional<TransferPlan> plan;
    // When there is no plan: why, and the figures of AccessOutcome's refusal fields.
    AccessOutcome::Refusal refusal = AccessOutcome::Refusal::None;
    qint64 refusedValue = 0;
    qint64 refusedLimit = 0;

    // The outcome of an access refused for this reason.
    [[nodiscard]] AccessOutcome refusedOutcome() const;
};

// Plans `request` against an image of `imageSize` bytes (the one a read fills or a write sends
// from). An access that would step outside the image or the part, or that the board cannot
// carry out, is refused instead.
[[nodiscard]] TransferPlanResult planTransfer(const TransferRequest& request,
                                              std::int64_t imageSize);
