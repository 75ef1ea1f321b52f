#pragma once

#include "link/ProgrammerLink.h"
#include "link/gui/AccessControls.h"
#include "link/gui/AccessFrame.h"
#include "link/gui/AccessWindow.h"
#include "link/gui/ChipCheckCommands.h"
#include "link/gui/EepromAccess.h"
#include "session/AppServices.h"

#include <QObject>

#include <functional>
#include <memory>

class ComparisonView;
class LinkClock;
class QAction;
class QShortcut;
class SerialPort;
class StatusPanels;

// Connects the main window's commands that reach the chip (the four access buttons, Verify,
// the device menu, Cancel and Esc) to the reads, writes and checks, and stands for the window
// towards them: its own controls, the progress bar, and what it needs of the other parts of the
// window (the grid's current cell, the access size, the redraws), which the window's composition
// hands in. While a command runs it says so (accessRunningChanged), and every other part of the
// window holds off its own commands that would change the port, the device or the image.
class AccessController : public QObject, public AccessWindow {
    Q_OBJECT
public:
    // What the commands need of the other parts of the window.
    struct Neighbours {
        std::function<std::optional<qint64>()> currentCellAddress;  // the grid's byte cell
        std::function<qint64()> accessSize;                         // the CmbSize number
        std::function<QString()> deviceName;                        // the selected device
        std::function<void()> showImage;                            // ShowImage
        std::function<void(std::uint8_t)> showReadByte;             // a Byte Read's cell
    };

    // `clock` may be null: the program's steady clock is used then.
    AccessController(const AccessControls& controls, Neighbours neighbours,
                     const AppServices& services, StatusPanels& panels, SerialPort& port,
                     LinkClock* clock, ComparisonView& comparisons, QObject* parent = nullptr);
    ~AccessController() override;

    // A command that reaches the chip is running.
    [[nodiscard]] bool running() const { return m_frame.running(); }
    // Cmd_Cancel: ends a running access at its next chunk boundary.
    void Cmd_Cancel_Click() { m_frame.cancel(); }
    void cancel() { m_frame.cancel(); }

    // Before the window closes during an access: a write is stopped only when the user agrees,
    // since the part is then left partly written. True when the access may be stopped.
    [[nodiscard]] bool confirmStopForClose();
    // After an access stopped for the window's close: when it was a write, says how far the
    // part was written, since the status bar goes with the window.
    void reportStopForClose();

    [[nodiscard]] ProgrammerLink& link() { return m_link; }
    [[nodiscard]] AccessFrame& frame() { return m_frame; }
    [[nodiscard]] EepromAccess& access() { return m_access; }
    [[nodiscard]] ChipCheckCommands& checks() { return m_checks; }
    // How the last command ended.
    [[nodiscard]] const ChipJobOutcome& lastOutcome() const { return m_lastOutcome; }

    void setLockedControlsEnabled(bool enabled) override;
    void setImageCommandsEnabled(bool enabled) override;
    void focusHexBox() override;
    void setAccessRunning(bool running) override;
    void showProgress(int percent, const QString& timeText) override;
    [[nodiscard]] std::optional<qint64> currentCellAddress() const override;
    [[nodiscard]] qint64 accessSize() const override;
    [[nodiscard]] QString deviceName() const override;
    [[nodiscard]] bool verifyAfterWrite() const override;
    [[nodiscard]] int readsOfChip() const override;
    [[nodiscard]] bool backupBeforeWrite() const override;
    [[nodiscard]] bool writeChangedOnly() const override;
    void ShowImage() override;
    void showReadByte(std::uint8_t value) override;

signals:
    // A command that reaches the chip has begun (true) or ended (false): the other parts of the
    // window lock or unlock their own controls.
    void accessRunningChanged(bool running);
    // A command has ended and its handler has returned.
    void accessFinished();

private:
    void run(const std::function<ChipJobOutcome()>& command);
    void connectCommands();
    // Ticks `option` as the store's `key` under [Settings6] says ("True" or "False", else
    // `onByDefault`) and stores every change at once.
    void keepOption(QAction* option, const QString& key, bool onByDefault);

    AccessControls m_controls;
    Neighbours m_neighbours;
    AppServices m_services;
    std::unique_ptr<LinkClock> m_ownClock;
    ProgrammerLink m_link;
    AccessFrame m_frame;
    ChipCheckCommands m_checks;
    EepromAccess m_access;
    QShortcut* m_escape = nullptr;
    ChipJobOutcome m_lastOutcome;
    bool m_askingToStop = false;
    bool m_stoppingWrite = false;  // the window's close stops a write
};
