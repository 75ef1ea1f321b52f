#pragma once

#include "link/AccessPackets.h"

#include <QString>

#include <cstdint>
#include <optional>

struct SelectedDevice;

// The range, chunk size and command of one read or write, worked out before anything is sent.
// An access that would step outside the memory image, or that the board cannot carry out, is
// refused with a status text instead.
struct TransferPlan {
    AccessMode mode = AccessMode::Block;
    std::int32_t family = 0;
    std::int32_t commandVariant = 0;
    std::int32_t microwireParam = 0;
    int chunkCount = 0;
    std::int32_t start = 0;
    std::int32_t end = 0;  // inclusive

    // One address packet: a byte access sends the same one twice.
    [[nodiscard]] QByteArray startPacket() const;
    [[nodiscard]] QByteArray endPacket() const;
};

struct TransferRequest {
    AccessMode mode = AccessMode::Block;
    const std::optional<SelectedDevice>* device = nullptr;
    std::int64_t accessSize = 0;              // block access: bytes from address 0
    std::optional<std::int64_t> cellAddress;  // byte access: the current byte cell, if any
    std::int64_t imageSize = 0;               // the memory image the transfer reads or fills
};

struct TransferPlanResult {
    std::optional<TransferPlan> plan;
    QString refusal;  // the status text when there is no plan
};

[[nodiscard]] TransferPlanResult planTransfer(const TransferRequest& request);
