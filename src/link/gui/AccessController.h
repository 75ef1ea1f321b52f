#pragma once

#include "app/AppServices.h"
#include "link/AccessWindow.h"
#include "link/EepromAccess.h"
#include "link/ProgrammerLink.h"

#include <QObject>

#include <memory>

class DevicePanel;
class ImageView;
class LinkClock;
class SerialPort;
class StatusPanels;
struct MainWindowControls;

// Connects the main window's four access buttons to the reads and writes, and stands for the
// window towards them: the control lock, the commands held off during an access, the grid's
// current cell and the redraws.
class AccessController : public QObject, public AccessWindow {
    Q_OBJECT
public:
    // `clock` may be null: the program's steady clock is used then.
    AccessController(MainWindowControls& controls, const AppServices& services,
                     StatusPanels& panels, SerialPort& port, LinkClock* clock, ImageView& imageView,
                     DevicePanel& devicePanel, QObject* parent = nullptr);
    ~AccessController() override;

    [[nodiscard]] bool running() const { return m_link.running(); }
    // Ends a running access at its next wait (the window is closing).
    void cancel() { m_link.cancel(); }

    [[nodiscard]] ProgrammerLink& link() { return m_link; }
    [[nodiscard]] EepromAccess& access() { return m_access; }
    // How the last access ended.
    [[nodiscard]] const AccessOutcome& lastOutcome() const { return m_lastOutcome; }

    void setLockedControlsEnabled(bool enabled) override;
    void setImageCommandsEnabled(bool enabled) override;
    void focusHexBox() override;
    [[nodiscard]] std::optional<qint64> currentCellAddress() const override;
    [[nodiscard]] qint64 accessSize() const override;
    void ShowImage() override;
    void showReadByte(std::uint8_t value) override;

signals:
    // A read or write has ended and its handler has returned.
    void accessFinished();

private:
    void run(AccessOutcome (EepromAccess::*handler)());

    MainWindowControls& m_controls;
    ImageView& m_imageView;
    DevicePanel& m_devicePanel;
    std::unique_ptr<LinkClock> m_ownClock;
    ProgrammerLink m_link;
    EepromAccess m_access;
    AccessOutcome m_lastOutcome;
};
