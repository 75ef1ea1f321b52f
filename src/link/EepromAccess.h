#pragma once

#include "link/AccessObserver.h"
#include "link/AccessOutcome.h"
#include "link/AccessPackets.h"
#include "link/EepromTransfer.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class AccessWindow;
class MemoryImage;
class ProgrammerLink;
class StatusPanels;
class UserDialogs;
struct LinkSettings;
struct SelectedDevice;

// Block Read, Byte Read, Block Write and Byte Write as the main window runs them: the four
// access buttons' handlers, the control lock around each access, and the status panels, boxes
// and redraws that show how it went. The transfers themselves are EepromTransfer's.
//
// An access that cannot be carried out safely (no device, a range beyond the memory image, a
// byte access on a cell that holds no byte) is refused with a status text before anything is
// locked or sent.
class EepromAccess : public AccessObserver {
public:
    struct Context {
        ProgrammerLink& link;
        const std::optional<SelectedDevice>& device;  // SelectedDevice
        MemoryImage& image;                           // the memory image
        AccessWindow& window;
        StatusPanels& panels;
        UserDialogs& dialogs;
        std::function<LinkSettings()> linkSettings;  // the stored port settings, read per access
    };

    explicit EepromAccess(Context context);

    AccessOutcome Cmd_READ_all_Click();
    AccessOutcome Cmd_READ_single_Click();
    AccessOutcome Cmd_WRITE_all_Click();
    AccessOutcome Cmd_WRITE_single_Click();

    // The control lock of an access: the grid, the access buttons and the byte editor, and
    // the commands that would change the port, device or image under it; panels 1 and 2 and
    // TimeOutFlag cleared.
    void Lock_Controls();
    // Safe to run twice in a row: the second run changes nothing.
    void Unlock_Controls();

    // AccessMode of the last access started.
    [[nodiscard]] ::AccessMode accessMode() const { return m_accessMode; }
    [[nodiscard]] bool running() const;

    void boardIdentified(const LinkSettings& link, const QString& identification) override;
    void boardNotConnected(const LinkSettings& link) override;
    void replyTimedOut() override;
    void progressed(const AccessProgress& progress) override;

private:
    [[nodiscard]] TransferRequest request(::AccessMode mode) const;
    [[nodiscard]] std::optional<AccessOutcome> refusal(const TransferRequest& request,
                                                       std::int64_t imageSize);
    // Locks, runs `transfer` with the stored link settings, shows the outcome, unlocks.
    AccessOutcome run(::AccessMode mode, const QString& statusText,
                      const std::function<AccessOutcome(const LinkSettings&)>& transfer);
    void showOutcome(const AccessOutcome& outcome);
    AccessOutcome readWholeImage(const LinkSettings& link, const TransferRequest& block,
                                 std::int64_t partSize);

    Context m_context;
    EepromTransfer m_transfer;
    ::AccessMode m_accessMode = ::AccessMode::Block;
    int m_shownPercent = 0;
};
