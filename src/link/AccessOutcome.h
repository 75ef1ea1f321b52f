#pragma once

#include "link/LinkClock.h"

#include <QString>

// How one access to the chip ended. Every read, write, verify, blank check and erase returns
// one, so no caller can take a refusal or a failure for success.
struct AccessOutcome {
    enum class Kind {
        Done,          // the whole range was moved
        Refused,       // nothing was sent: no device, a range that does not fit, another access
        PortUnusable,  // the port did not open; `reason` holds the system's words
        NoBoard,       // no QZ-PGM board answered the identification query
        OldFirmware,   // the board's firmware is older than 6
        TimedOut,      // the board stopped answering
        BadReply,      // the board answered something the protocol does not allow
        LineLost,      // the port went away (adapter unplugged, line hung up)
        Cancelled,     // the user stopped it
    };

    // Why an access was refused before anything was sent.
    enum class Refusal {
        None,
        Busy,           // another access is running on this link
        NoDevice,       // no device is selected
        UnknownFamily,  // the device is neither I2C nor Microwire
        NoChunk,        // the page size leaves nothing to move
        NotAByteCell,   // a byte access without a data cell
        NoAccessSize,   // a block access of no bytes
        Misaligned,     // a block that does not start on a chunk boundary
        OutsideImage,   // a block whose chunks run past the image or the part
    };

    Kind kind = Kind::Done;
    Refusal refusal = Refusal::None;
    // The status text the window shows at the end (status panel 1), in the window's words.
    QString text;
    // PortUnusable: the system's reason, naming the device. NoBoard: how many bytes answered.
    QString reason;
    // The board's identification ("QZ-PGM Ver 6.00") when one answered.
    QString identification;
    qint64 firstAddress = 0;  // the range's first address
    qint64 bytesDone = 0;     // bytes read into the image or handed to the board from there
    LinkClock::Duration elapsed{0};

    [[nodiscard]] bool succeeded() const { return kind == Kind::Done; }
    // The last address a write handed to the board, or -1 when it sent no data.
    [[nodiscard]] qint64 lastAddressDone() const
    {
        return bytesDone > 0 ? firstAddress + bytesDone - 1 : -1;
    }
};
