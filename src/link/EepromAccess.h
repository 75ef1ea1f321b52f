#pragma once

#include "link/AccessOutcome.h"
#include "link/TransferPlan.h"

#include <QByteArray>

#include <cstdint>

class AccessFrame;
class ChipCheckCommands;
struct LinkSettings;

// Block Read, Byte Read, Block Write and Byte Write as the main window runs them: the four
// access buttons' handlers, each in the frame's control lock with the frame's status texts.
// A write is followed by its verify when the window asks for it (ChipCheckCommands).
//
// An access that cannot be carried out safely (no device, a range beyond the memory image, a
// byte access on a cell that holds no byte) is refused with a status text before anything is
// locked or sent.
class EepromAccess {
public:
    EepromAccess(AccessFrame& frame, ChipCheckCommands& checks);

    AccessOutcome Cmd_READ_all_Click();
    AccessOutcome Cmd_READ_single_Click();
    AccessOutcome Cmd_WRITE_all_Click();
    AccessOutcome Cmd_WRITE_single_Click();

private:
    AccessOutcome readWholeImage(const LinkSettings& link, const TransferRequest& block,
                                 std::int64_t partSize);
    AccessOutcome write(::AccessMode mode, const QString& statusText);

    AccessFrame& m_frame;
    ChipCheckCommands& m_checks;
};
