#pragma once

#include "app/ProgramState.h"
#include "base/SettingsStore.h"
#include "link/AccessWindow.h"
#include "link/EepromAccess.h"
#include "link/LinkSettings.h"
#include "link/ProgrammerLink.h"
#include "support/FakeBoard.h"
#include "support/FakeLinkClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeUserDialogs.h"
#include "support/RecordingStatusPanels.h"
#include "support/TestDevices.h"
#include "support/TestEnvironment.h"

#include <QList>

// The main window as the access sees it, recording what the access does to it.
class RecordingAccessWindow : public AccessWindow {
public:
    void setLockedControlsEnabled(bool enabled) override { lockedEnabled.append(enabled); }
    void setImageCommandsEnabled(bool enabled) override { imageCommandsEnabled = enabled; }
    void focusHexBox() override { ++focusCount; }
    [[nodiscard]] std::optional<qint64> currentCellAddress() const override { return cell; }
    [[nodiscard]] qint64 accessSize() const override { return size; }
    void ShowImage() override { ++showImageCount; }
    void showReadByte(std::uint8_t value) override { readBytes.append(value); }

    [[nodiscard]] bool enabled() const { return !lockedEnabled.isEmpty() && lockedEnabled.last(); }

    std::optional<qint64> cell;
    qint64 size = 0;
    QList<bool> lockedEnabled;
    bool imageCommandsEnabled = true;
    int focusCount = 0;
    int showImageCount = 0;
    QList<std::uint8_t> readBytes;
};

// A programmer link on a scripted board and fake time, with the window's handlers on top.
struct LinkFixture {
    LinkFixture()
        : link(port, clock),
          access({link, state.selectedDevice, state.image, window, panels, dialogs,
                  [this] { return linkSettings(); }})
    {
    }

    void selectDevice(int family, int sizeExponent, int pageSize, int commandVariant = 0,
                      int microwireParam = 0)
    {
        state.selectedDevice =
            makeDevice(family, sizeExponent, pageSize, commandVariant, microwireParam);
        state.image.recreate(state.selectedDevice->memorySize());
    }

    [[nodiscard]] LinkSettings linkSettings() const { return LinkSettings::stored(settings); }
    [[nodiscard]] AccessOutcome readVersion() { return link.Read_Version(linkSettings()); }

    // The two identification queries, answered like a firmware 6.00 board.
    FakeBoard& expectDetection(const QByteArray& answer = FakeBoard::identification())
    {
        return board.expect("?").reply(answer).expect("?").reply(answer);
    }
    // Detection, the preamble of `family` (answered) and the header with `letter`.
    FakeBoard& expectOpening(char family, char letter)
    {
        return expectDetection()
            .expect("E")
            .expect(QByteArray("e") + family + 'P')
            .reply("P")
            .expect("E")
            .expect(QByteArray("e") + family + letter);
    }

    TestEnvironment environment{false};
    SettingsStore settings;
    FakeSerialPort port;
    FakeBoard board{port};
    FakeLinkClock clock;
    RecordingStatusPanels panels;
    FakeUserDialogs dialogs;
    RecordingAccessWindow window;
    ProgramState state;
    ProgrammerLink link;
    EepromAccess access;
};

inline QByteArray hexBytes(const char* hex) { return QByteArray::fromHex(hex); }

// `count` bytes counting up from `first`.
inline QByteArray rampBytes(int first, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) bytes.append(static_cast<char>((first + i) & 0xFF));
    return bytes;
}
