#pragma once

#include "link/AccessPackets.h"

#include <QString>

#include <cstdint>
#include <optional>

class AccessWindow;
class ProgrammerLink;
struct ProgramState;
struct TransferPlan;

// Block Read, Byte Read, Block Write and Byte Write: the four access buttons of the main window
// and the read and write they run over the programmer link.
//
// An access that cannot be carried out safely (no device, a range beyond the memory image, a
// byte access on a cell that holds no byte) is refused with a status text before anything is
// locked or sent.
class EepromAccess {
public:
    EepromAccess(ProgrammerLink& link, ProgramState& state, AccessWindow& window);

    void Cmd_READ_all_Click();
    void Cmd_READ_single_Click();
    void Cmd_WRITE_all_Click();
    void Cmd_WRITE_single_Click();

    // Reads the plan's range into the memory image; a block read ends with the grid rebuilt,
    // a byte read with the current cell rewritten.
    void Eep_Read(const TransferPlan& plan);
    // Writes the plan's range of the memory image to the part; the image is only read.
    void Eep_Write(const TransferPlan& plan);

    // AccessMode of the last access started.
    [[nodiscard]] ::AccessMode accessMode() const { return m_accessMode; }

private:
    // The handlers' common course: check, lock, (blank the image,) run the transfer, unlock.
    void run(::AccessMode mode, std::int64_t imageSize, const QString& statusText,
             void (EepromAccess::*transfer)(const TransferPlan&), bool startBlank = false);
    [[nodiscard]] std::optional<TransferPlan> plan(::AccessMode mode, std::int64_t imageSize);
    [[nodiscard]] std::int64_t selectedDeviceSize() const;
    void showProgress(std::int64_t current, const TransferPlan& plan, int& shown);
    [[nodiscard]] QString elapsedText(const QString& prefix) const;
    void endWithError(const QString& errorText);

    ProgrammerLink& m_link;
    ProgramState& m_state;
    AccessWindow& m_window;
    ::AccessMode m_accessMode = ::AccessMode::Block;
    std::int64_t m_opStartTime = 0;  // OpStartTime, in nanoseconds of the link clock
};
