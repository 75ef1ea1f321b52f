#pragma once

#include "link/AccessOutcome.h"
#include "link/TransferPlan.h"

#include <QByteArray>

class AccessFrame;
struct CheckOutcome;
struct LinkSettings;

// The window's commands that find out what is on the chip: Verify (Cmd_VERIFY_all, mnuVerify),
// Blank check (mnuBlankCheck), Erase (mnuErase) and the verify that follows a write when
// 書き込み後にベリファイ is ticked. None of them changes the memory image; a verify that finds
// differences shows them in the grid and in a list (ComparisonView).
class ChipCheckCommands {
public:
    explicit ChipCheckCommands(AccessFrame& frame) : m_frame(frame) {}

    // Reads the block range (Block Read's range and chunks) and compares it with the image.
    AccessOutcome Cmd_VERIFY_all_Click();
    AccessOutcome mnuVerify_Click() { return Cmd_VERIFY_all_Click(); }
    // Reads the whole part and looks for bytes other than 0xFF.
    AccessOutcome mnuBlankCheck_Click();
    // Asks first, writes 0xFF over the whole part, then checks it blank.
    AccessOutcome mnuErase_Click();

    // Inside a write command, after the write: when the write went well and the window asks
    // for it, reads back what `request` wrote and compares it with `source`; a difference also
    // shows a warning box. Returns the verify's outcome, or `written` when there was none.
    AccessOutcome verifyWritten(const LinkSettings& link, const TransferRequest& request,
                                const QByteArray& source, const AccessOutcome& written);

private:
    [[nodiscard]] CheckOutcome verify(const LinkSettings& link, const TransferRequest& request,
                                      const QByteArray& expected);
    [[nodiscard]] bool confirmErase();

    AccessFrame& m_frame;
};
