#include "link/gui/PortSettingsController.h"

#include "app/gui/MainWindowControls.h"
#include "link/gui/FrmCom.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>

PortSettingsController::PortSettingsController(MainWindowControls& controls,
                                               const AppServices& services, SerialPort& port,
                                               QWidget* owner)
    : QObject(owner), m_services(services), m_port(port), m_owner(owner)
{
    connect(controls.Cmd_Port, &QPushButton::clicked, this,
            &PortSettingsController::showPortSettings);
    connect(controls.mnuToolsOptions, &QAction::triggered, this,
            &PortSettingsController::showPortSettings);
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
