#pragma once

#include "jobs/ChipJobOutcome.h"
#include "link/AccessPackets.h"

class AccessFrame;

// Block Read, Byte Read, Block Write and Byte Write as the main window runs them: the four
// access buttons' handlers, each one chip job in the frame's control lock. A write is followed
// by its verify when the window asks for it (書き込み後にベリファイ): every Block Write by a
// verify of the range it wrote, every Byte Write by a read of its cell.
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

    AccessFrame& m_frame;
};
