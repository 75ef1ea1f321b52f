#pragma once

#include "base/SettingsStore.h"
#include "image/ComparisonView.h"
#include "link/LinkSettings.h"
#include "link/ProgrammerLink.h"
#include "link/gui/AccessFrame.h"
#include "link/gui/AccessTexts.h"
#include "link/gui/AccessWindow.h"
#include "link/gui/ChipCheckCommands.h"
#include "link/gui/EepromAccess.h"
#include "session/ProgramState.h"
#include "support/FakeBoard.h"
#include "support/FakeLinkClock.h"
#include "support/FakeSerialPort.h"
#include "support/FakeUserDialogs.h"
#include "support/RecordingStatusPanels.h"
#include "support/TestDevices.h"
#include "support/TestEnvironment.h"

#include <QList>
#include <QTemporaryDir>

// The main window as the access sees it, recording what the access does to it.
class RecordingAccessWindow : public AccessWindow {
public:
    void setLockedControlsEnabled(bool enabled) override { lockedEnabled.append(enabled); }
    void setImageCommandsEnabled(bool enabled) override { imageCommandsEnabled = enabled; }
    void focusHexBox() override { ++focusCount; }
    void setAccessRunning(bool running) override { accessRunning.append(running); }
    void showProgress(int percent, const QString& timeText) override
    {
        progress.append(percent);
        timeTexts.append(timeText);
    }
    [[nodiscard]] std::optional<qint64> currentCellAddress() const override { return cell; }
    [[nodiscard]] qint64 accessSize() const override { return size; }
    [[nodiscard]] QString deviceName() const override { return QStringLiteral("24C02"); }
    [[nodiscard]] bool verifyAfterWrite() const override { return verifyWrites; }
    [[nodiscard]] int readsOfChip() const override { return reads; }
    [[nodiscard]] bool backupBeforeWrite() const override { return backup; }
    [[nodiscard]] bool writeChangedOnly() const override { return changedOnly; }
    void ShowImage() override { ++showImageCount; }
    void showReadByte(std::uint8_t value) override { readBytes.append(value); }

    [[nodiscard]] bool enabled() const { return !lockedEnabled.isEmpty() && lockedEnabled.last(); }

    std::optional<qint64> cell;
    qint64 size = 0;
    bool verifyWrites = false;
    int reads = 1;
    bool backup = false;
    bool changedOnly = false;
    QList<bool> accessRunning;
    QList<int> progress;
    QStringList timeTexts;
    QList<bool> lockedEnabled;
    bool imageCommandsEnabled = true;
    int focusCount = 0;
    int showImageCount = 0;
    QList<std::uint8_t> readBytes;
};

// The comparisons a verify would show in the window.
class RecordingComparisonView : public ComparisonView {
public:
    void showComparison(const Comparison& comparison, const ComparisonTexts& texts) override
    {
        shown.append(comparison);
        summaries.append(texts.summary);
        headings.append({texts.ownHeading, texts.otherHeading});
    }
    QList<Comparison> shown;
    QStringList summaries;
    QList<QStringList> headings;  // each list's own and other column
};

// A programmer link on a scripted board and fake time, with the window's handlers on top.
struct LinkFixture {
    LinkFixture()
        : link(port, clock),
          frame({link, state.selectedDevice, state.image, state.unsaved, state.loadedFileBytes,
                 state.editor, window, panels, dialogs, comparisons,
                 [this] { return linkSettings(); }, claims.path(),
                 claims.filePath(QStringLiteral("backups"))}),
          checks(frame),
          access(frame)
    {
    }

    void selectDevice(BusFamily family, int sizeExponent, int pageSize, int commandVariant = 0,
                      int microwireParam = 0)
    {
        state.selectedDevice =
            makeDevice(family, sizeExponent, pageSize, commandVariant, microwireParam);
        state.image.recreate(state.selectedDevice->memorySize());
    }

    [[nodiscard]] LinkSettings linkSettings() const { return LinkSettings::stored(settings); }
    [[nodiscard]] AccessOutcome readVersion() { return link.Read_Version(linkSettings()); }
    // Panel 1 as the window words `outcome` when it ends a command.
    [[nodiscard]] static QString windowText(const AccessOutcome& outcome,
                                            const QString& stepText = {})
    {
        ChipJobOutcome job;
        job.access = outcome;
        job.step = outcome.write ? ChipStep::Write : ChipStep::Read;
        return AccessTexts::jobText(job, stepText);
    }

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
    RecordingComparisonView comparisons;
    ProgramState state;
    QTemporaryDir claims;
    ProgrammerLink link;
    AccessFrame frame;
    ChipCheckCommands checks;
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
