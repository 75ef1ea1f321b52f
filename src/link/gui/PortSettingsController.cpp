#include "link/gui/PortSettingsController.h"

#include "link/gui/FrmCom.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>

PortSettingsController::PortSettingsController(const PortControls& controls,
                                               const AppServices& services, SerialPort& port,
                                               QWidget* owner)
    : QObject(owner), m_controls(controls), m_services(services), m_port(port), m_owner(owner)
{
    connect(controls.Cmd_Port, &QPushButton::clicked, this,
            &PortSettingsController::showPortSettings);
    connect(controls.mnuToolsOptions, &QAction::triggered, this,
            &PortSettingsController::showPortSettings);
}

void PortSettingsController::setAccessRunning(bool running)
{
    m_controls.Cmd_Port->setEnabled(!running);
    m_controls.mnuToolsOptions->setEnabled(!running);
}

void PortSettingsController::showPortSettings()
{
    if (m_busy && m_busy()) {
        QApplication::beep();
        return;
    }
    FrmCom window(m_port, m_services.settings, m_services.dialogs, m_owner);
    window.Form_Load();
    window.exec();
}
