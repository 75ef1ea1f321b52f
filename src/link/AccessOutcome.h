#pragma once

#include "link/LinkClock.h"
#include "link/PortOpenFailure.h"

#include <QString>

#include <optional>

// How one access to the chip ended, as facts: what happened, where, how far it got. Every read,
// write and detection returns one, so no caller can take a refusal or a failure for success.
// Front-ends word it in their own language.
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
        UnknownFamily,  // the device is neither I2C nor Microwire (refusedValue: its family)
        NoChunk,        // the page size leaves nothing to move (refusedValue: the page size)
        NotAByteCell,   // a byte access without a data cell
        NoAccessSize,   // a block access of no bytes
        Misaligned,     // a block that does not start on a chunk boundary (refusedValue: the
                        // start, refusedLimit: the chunk size)
        OutsideImage,   // a block whose chunks run past the image or the part (refusedValue:
                        // the access size, refusedLimit: the room from its start)
    };

    // Where the access ended: while the board was being identified, or after it answered.
    enum class Stage { Detection, Transfer };

    Kind kind = Kind::Done;
    Stage stage = Stage::Transfer;
    bool write = false;  // the access wrote to the chip (a write or an erase)
    Refusal refusal = Refusal::None;
    qint64 refusedValue = 0;
    qint64 refusedLimit = 0;
    // PortUnusable: why the port did not open.
    PortOpenFailure portFailure;
    // NoBoard: what a device that is not the board answered, when it answered enough.
    QString reason;
    // NoBoard: how many bytes came back when too few came for an identification.
    std::optional<int> answeredBytes;
    // The board's identification ("QZ-PGM Ver 6.00") when one answered.
    QString identification;
    qint64 firstAddress = 0;  // the range's first address
    qint64 bytesDone = 0;     // bytes read into the image or handed to the board from there
    qint64 bytesPlanned = 0;  // the range in whole chunks, as the board was told it
    bool rangeSent = false;   // the board was told the range (the address packets went out)
    LinkClock::Duration elapsed{0};

    [[nodiscard]] bool succeeded() const { return kind == Kind::Done; }
    // The last address a write handed to the board, or -1 when it sent no data.
    [[nodiscard]] qint64 lastAddressDone() const
    {
        return bytesDone > 0 ? firstAddress + bytesDone - 1 : -1;
    }
    // A write that stopped inside its range leaves the board waiting for the rest: it takes
    // whatever comes next on the line as chunk data until it has them all or is switched off.
    [[nodiscard]] qint64 bytesBoardAwaits() const
    {
        if (!write || !rangeSent || kind == Kind::Done) return 0;
        return bytesPlanned > bytesDone ? bytesPlanned - bytesDone : 0;
    }
};
