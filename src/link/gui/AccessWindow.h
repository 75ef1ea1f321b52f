#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

// The main window as its access handlers (EepromAccess) see it: the controls they lock, the
// grid's current cell and access size they read, and the redraws they ask for afterwards.
class AccessWindow {
public:
    virtual ~AccessWindow() = default;

    // The control lock: the grid MSFGrid1, the four access buttons and the byte editor frame
    // Frame1, in that order; with them the Verify button and the device menu's commands.
    virtual void setLockedControlsEnabled(bool enabled) = 0;
    // The commands that would change the port, the device or the memory image under a running
    // access, or read a half-transferred one: the device list, CmbSize, buffer clear, file load
    // and save, the text listing and the port window.
    virtual void setImageCommandsEnabled(bool enabled) = 0;
    // Keyboard focus to the byte editor's hexadecimal box Text_modify_hex.
    virtual void focusHexBox() = 0;
    // While an access runs: the cancel button Cmd_Cancel shown and enabled (and Esc with it),
    // the progress bar PrgAccess and its time text shown.
    virtual void setAccessRunning(bool running) = 0;
    // The progress bar at `percent`, and the elapsed and remaining time beside it.
    virtual void showProgress(int percent, const QString& timeText) = 0;

    // The image address of the grid's current cell; nothing when it is not a byte cell.
    [[nodiscard]] virtual std::optional<qint64> currentCellAddress() const = 0;
    // The number in the selected CmbSize entry.
    [[nodiscard]] virtual qint64 accessSize() const = 0;
    // The selected device's name in the catalogue ("24C64").
    [[nodiscard]] virtual QString deviceName() const = 0;
    // Whether the option 書き込み後にベリファイ (mnuVerifyAfterWrite) is ticked.
    [[nodiscard]] virtual bool verifyAfterWrite() const = 0;
    // How many times each read of the chip is made and compared: 2 when 2回読んで比較
    // (mnuReadTwice) is ticked, else 1.
    [[nodiscard]] virtual int readsOfChip() const = 0;
    // Whether 書き込み前にバックアップ (mnuBackupBeforeWrite) is ticked.
    [[nodiscard]] virtual bool backupBeforeWrite() const = 0;
    // Whether 変更箇所だけ書き込む (mnuWriteChangedOnly) is ticked.
    [[nodiscard]] virtual bool writeChangedOnly() const = 0;

    // ShowImage: the whole grid, listing file, checksum and editor rebuilt from the image.
    virtual void ShowImage() = 0;
    // A byte read: the current cell shows `value` ("0x41") and the editor reloads from it.
    virtual void showReadByte(std::uint8_t value) = 0;
};
