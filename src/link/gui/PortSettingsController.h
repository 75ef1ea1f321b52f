#pragma once

#include "link/gui/AccessControls.h"
#include "session/AppServices.h"

#include <QObject>

#include <functional>

class QWidget;
class SerialPort;

// Opens the port settings window (frmCom) modally from the main window's port button
// (Cmd_Port) and its menu entry (mnuToolsOptions).
class PortSettingsController : public QObject {
    Q_OBJECT
public:
    PortSettingsController(const PortControls& controls, const AppServices& services,
                           SerialPort& port, QWidget* owner);

    // While `busy` answers true (a read or write is using the port) the window is not opened:
    // it would close the port under the running transfer.
    void setBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }

    // While an access runs the port window is held off.
    void setAccessRunning(bool running);

    void showPortSettings();

private:
    PortControls m_controls;
    AppServices m_services;
    SerialPort& m_port;
    QWidget* m_owner = nullptr;
    std::function<bool()> m_busy;
};
