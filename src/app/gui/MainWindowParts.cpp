#include "app/gui/MainWindowParts.h"

#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "app/gui/StatusBarPanels.h"
#include "devices/gui/DevicePanel.h"
#include "editing/gui/ImageEditing.h"
#include "files/gui/FileCompareCommand.h"
#include "files/gui/ImageFileCommands.h"
#include "image/GridTexts.h"
#include "image/gui/DifferencesDisplay.h"
#include "image/gui/ImageView.h"
#include "link/QtSerialPort.h"
#include "link/gui/AccessController.h"
#include "link/gui/PortSettingsController.h"
#include "production/gui/ProductionCommand.h"
#include "ui/gui/LanguageMenu.h"

MainWindowParts::MainWindowParts(MainWindow& window, MainWindowControls& controls,
                                 const AppServices& services, StatusBarPanels& panels)
{
    m_devicePanel = std::make_unique<DevicePanel>(controls.device(), services, panels);
    m_imageView = std::make_unique<ImageView>(controls.image(), services, panels, panels);
    m_devicePanel->setClearImage([this] { m_imageView->ClearImage(); });
    QObject::connect(m_devicePanel.get(), &DevicePanel::deviceSelected, m_imageView.get(),
                     &ImageView::deviceSelected);
    m_editing = new ImageEditing(controls.edit(), services, *m_imageView, panels, &window);
    m_differences = std::make_unique<DifferencesDisplay>(*m_imageView, &window);

    m_imageFileCommands = std::make_unique<ImageFileCommands>(
        services, panels, panels,
        [&window](const QString& caption) { window.setWindowTitle(caption); });
    m_imageFileCommands->connectControls(controls.files());
    m_imageFileCommands->setShowImage([this] { m_imageView->ShowImage(); });
    m_fileCompare = new FileCompareCommand(services, panels, *m_differences, &window);
    m_fileCompare->connectControl(controls.mnuFileCompare);

    m_serialPort = services.port ? services.port : new QtSerialPort(&window);
    m_portSettings = new PortSettingsController(controls.port(), services, *m_serialPort, &window);

    AccessController::Neighbours neighbours;
    neighbours.currentCellAddress = [this] { return m_imageView->currentAddress(); };
    neighbours.accessSize = [this] { return m_devicePanel->accessSize(); };
    neighbours.deviceName = [this] { return m_devicePanel->selectedName(); };
    neighbours.showImage = [this] { m_imageView->ShowImage(); };
    neighbours.showReadByte = [this](std::uint8_t value) {
        m_imageView->setCurrentCellText(GridTexts::byteCellText(value));
        m_imageView->MSFGrid1_Click();
    };
    m_access = new AccessController(controls.access(), std::move(neighbours), services, panels,
                                    *m_serialPort, services.clock, *m_differences, &window);

    m_production = new ProductionCommand(controls.production(), services, &window);

    // While a command reaches the chip, every part holds off its own commands that would change
    // the port, the device or the image under it. While a production round runs on the boards,
    // the commands that reach the chip and the port window wait, and the other way round.
    const auto busy = [this] { return m_access->running() || m_production->roundRunning(); };
    m_portSettings->setBusyCheck(busy);
    m_imageFileCommands->setBusyCheck(busy);
    m_fileCompare->setBusyCheck(busy);
    QObject::connect(m_access, &AccessController::accessRunningChanged, m_devicePanel.get(),
                     &DevicePanel::setAccessRunning);
    QObject::connect(m_access, &AccessController::accessRunningChanged, m_imageView.get(),
                     &ImageView::setAccessRunning);
    QObject::connect(m_access, &AccessController::accessRunningChanged, m_imageFileCommands.get(),
                     &ImageFileCommands::setAccessRunning);
    QObject::connect(m_access, &AccessController::accessRunningChanged, m_fileCompare,
                     &FileCompareCommand::setAccessRunning);
    QObject::connect(m_access, &AccessController::accessRunningChanged, m_portSettings,
                     &PortSettingsController::setAccessRunning);
    QObject::connect(m_access, &AccessController::accessRunningChanged, m_editing,
                     &ImageEditing::setAccessRunning);
    QObject::connect(m_access, &AccessController::accessFinished, &window,
                     &MainWindow::accessFinished);
    QObject::connect(m_access, &AccessController::accessRunningChanged, m_production,
                     &ProductionCommand::setAccessRunning);
    QObject::connect(m_production, &ProductionCommand::roundRunningChanged, m_access,
                     [this](bool running) { m_access->setLockedControlsEnabled(!running); });
    QObject::connect(m_production, &ProductionCommand::roundRunningChanged, m_portSettings,
                     &PortSettingsController::setAccessRunning);

    new LanguageMenu(controls.language(), services, &window);
}

MainWindowParts::~MainWindowParts() = default;
