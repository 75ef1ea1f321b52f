#pragma once

#include "app/AppServices.h"
#include "link/ProgrammerLink.h"
#include "link/gui/AccessFrame.h"
#include "link/gui/AccessWindow.h"
#include "link/gui/ChipCheckCommands.h"
#include "link/gui/EepromAccess.h"

#include <QObject>

#include <functional>
#include <memory>

class ComparisonView;
class DevicePanel;
class ImageView;
class LinkClock;
class QShortcut;
class SerialPort;
class StatusPanels;
struct MainWindowControls;

// Connects the main window's commands that reach the chip (the four access buttons, Verify,
// the device menu, Cancel and Esc) to the reads, writes and checks, and stands for the window
// towards them: the control lock, the commands held off during an access, the progress bar,
// the grid's current cell and the redraws.
class AccessController : public QObject, public AccessWindow {
    Q_OBJECT
public:
    // `clock` may be null: the program's steady clock is used then.
    AccessController(MainWindowControls& controls, const AppServices& services,
                     StatusPanels& panels, SerialPort& port, LinkClock* clock, ImageView& imageView,
                     DevicePanel& devicePanel, ComparisonView& comparisons,
                     QObject* parent = nullptr);
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
    void ShowImage() override;
    void showReadByte(std::uint8_t value) override;

signals:
    // A command has ended and its handler has returned.
    void accessFinished();

private:
    void run(const std::function<ChipJobOutcome()>& command);
    void connectCommands();
    void mnuVerifyAfterWrite_Click(bool ticked);

    MainWindowControls& m_controls;
    AppServices m_services;
    ImageView& m_imageView;
    DevicePanel& m_devicePanel;
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
