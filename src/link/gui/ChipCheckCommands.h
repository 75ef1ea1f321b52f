#pragma once

#include "jobs/ChipJobOutcome.h"

class AccessFrame;

// The window's commands that find out what is on the chip: Verify (Cmd_VERIFY_all, mnuVerify),
// Blank check (mnuBlankCheck) and Erase (mnuErase). None of them changes the memory image; a
// verify that finds differences shows them in the grid and in a list (ComparisonView).
class ChipCheckCommands {
public:
    explicit ChipCheckCommands(AccessFrame& frame) : m_frame(frame) {}

    // Reads the block range (Block Read's range and chunks) and compares it with the image.
    ChipJobOutcome Cmd_VERIFY_all_Click();
    ChipJobOutcome mnuVerify_Click() { return Cmd_VERIFY_all_Click(); }
    // Reads the whole part and looks for bytes other than 0xFF.
    ChipJobOutcome mnuBlankCheck_Click();
    // Asks first, writes 0xFF over the whole part, then checks it blank.
    ChipJobOutcome mnuErase_Click();

private:
    [[nodiscard]] bool confirmErase();

    AccessFrame& m_frame;
};
