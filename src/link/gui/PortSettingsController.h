#pragma once

#include "app/AppServices.h"

#include <QObject>

#include <functional>

class QWidget;
class SerialPort;
struct MainWindowControls;

// Opens the port settings window (frmCom) modally from the main window's port button
// (Cmd_Port) and its menu entry (mnuToolsOptions).
class PortSettingsController : public QObject {
    Q_OBJECT
public:
    PortSettingsController(MainWindowControls& controls, const AppServices& services,
                           SerialPort& port, QWidget* owner);

    // While `busy` answers true (a read or write is using the port) the window is not opened:
    // it would close the port under the running transfer.
    void setBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }

    void showPortSettings();

private:
    AppServices m_services;
    SerialPort& m_port;
    QWidget* m_owner = nullptr;
    std::function<bool()> m_busy;
};
