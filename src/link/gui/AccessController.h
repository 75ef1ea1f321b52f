#pragma once

#include "app/AppServices.h"
#include "link/AccessWindow.h"
#include "link/EepromAccess.h"
#include "link/ProgrammerLink.h"
#include "link/SteadyLinkClock.h"

#include <QObject>

class DevicePanel;
class ImageView;
class SerialPort;
class StatusPanels;
struct MainWindowControls;

// Connects the main window's four access buttons to the reads and writes, and stands for the
// window towards them: the control lock, the commands held off during an access, the grid's
// current cell and the redraws.
class AccessController : public QObject, public AccessWindow {
    Q_OBJECT
public:
    AccessController(MainWindowControls& controls, const AppServices& services,
                     StatusPanels& panels, SerialPort& port, ImageView& imageView,
                     DevicePanel& devicePanel, QObject* parent = nullptr);

    [[nodiscard]] bool running() const { return m_link.running(); }
    // Ends a running access at its next wait (the window is closing).
    void cancel() { m_link.cancel(); }

    [[nodiscard]] ProgrammerLink& link() { return m_link; }
    [[nodiscard]] EepromAccess& access() { return m_access; }

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
    void run(void (EepromAccess::*handler)());

    MainWindowControls& m_controls;
    ImageView& m_imageView;
    DevicePanel& m_devicePanel;
    SteadyLinkClock m_clock;
    ProgrammerLink m_link;
    EepromAccess m_access;
};
