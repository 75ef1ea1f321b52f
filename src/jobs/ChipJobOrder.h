#pragma once

#include "devices/SelectedDevice.h"
#include "link/LinkSettings.h"
#include "link/TransferPlan.h"

#include <QByteArray>

// What a chip job is to do, every value the caller's own: the line, the range and the bytes.
struct ChipJobOrder {
    enum class Kind {
        Detect,      // ask for the board's identification
        Read,        // read the range
        Write,       // write the range of `image`, then verify it when `checkAfter`
        Verify,      // read the range and compare it with `image`
        BlankCheck,  // read the range and look for bytes other than 0xFF
        Erase,       // write 0xFF over the range, then check it blank when `checkAfter`
    };

    Kind kind = Kind::Detect;
    LinkSettings link;
    TransferRequest request;  // device, block range or byte cell
    QByteArray image;         // Write: the bytes to write; Verify: what the chip should hold
    bool checkAfter = false;  // Write, Erase: read the range back afterwards

    // A block request over the whole of `device`: what blank check and erase cover by default.
    [[nodiscard]] static TransferRequest wholePart(const SelectedDevice& device);
};
