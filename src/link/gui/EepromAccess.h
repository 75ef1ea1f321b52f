#pragma once

#include "jobs/ChipJobOutcome.h"
#include "link/AccessPackets.h"

class AccessFrame;

// Block Read, Byte Read, Block Write and Byte Write as the main window runs them: the four
// access buttons' handlers, each one chip job in the frame's control lock. A write is followed
// by its verify when the window asks for it (書き込み後にベリファイ): every Block Write by a
// verify of the range it wrote, every Byte Write by a read of its cell.
//
// A Block Write of an image loaded from a file of another part's size (larger, or smaller by
// more than a page) asks first; No sends nothing.
//
// An access that cannot be carried out safely (no device, a range beyond the memory image, a
// byte access on a cell that holds no byte) is refused with a status text before anything is
// locked or sent.
class EepromAccess {
public:
    explicit EepromAccess(AccessFrame& frame) : m_frame(frame) {}

    ChipJobOutcome Cmd_READ_all_Click();
    ChipJobOutcome Cmd_READ_single_Click();
    ChipJobOutcome Cmd_WRITE_all_Click();
    ChipJobOutcome Cmd_WRITE_single_Click();

private:
    ChipJobOutcome write(::AccessMode mode);
    // The question before a Block Write of a file's image that does not fit the part.
    [[nodiscard]] bool mayWriteLoadedFile();

    AccessFrame& m_frame;
};
