#include "link/gui/AccessController.h"

#include "app/ProgramState.h"
#include "app/gui/MainWindowControls.h"
#include "base/SettingsStore.h"
#include "devices/gui/DevicePanel.h"
#include "image/GridTexts.h"
#include "image/gui/ImageView.h"
#include "link/LinkSettings.h"
#include "link/SteadyLinkClock.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

namespace {

LinkClock& clockOrOwn(LinkClock* clock, std::unique_ptr<LinkClock>& own)
{
    if (clock) return *clock;
    own = std::make_unique<SteadyLinkClock>();
    return *own;
}

}  // namespace

AccessController::AccessController(MainWindowControls& controls, const AppServices& services,
                                   StatusPanels& panels, SerialPort& port, LinkClock* clock,
                                   ImageView& imageView, DevicePanel& devicePanel, QObject* parent)
    : QObject(parent),
      m_controls(controls),
      m_imageView(imageView),
      m_devicePanel(devicePanel),
      m_link(port, clockOrOwn(clock, m_ownClock)),
      m_access({m_link, services.state.selectedDevice, services.state.image, *this, panels,
                services.dialogs,
                [&settings = services.settings] { return LinkSettings::stored(settings); }})
{
    connect(controls.Cmd_READ_all, &QPushButton::clicked, this,
            [this] { run(&EepromAccess::Cmd_READ_all_Click); });
    connect(controls.Cmd_READ_single, &QPushButton::clicked, this,
            [this] { run(&EepromAccess::Cmd_READ_single_Click); });
    connect(controls.Cmd_WRITE_all, &QPushButton::clicked, this,
            [this] { run(&EepromAccess::Cmd_WRITE_all_Click); });
    connect(controls.Cmd_WRITE_single, &QPushButton::clicked, this,
            [this] { run(&EepromAccess::Cmd_WRITE_single_Click); });
}

AccessController::~AccessController() = default;

void AccessController::run(AccessOutcome (EepromAccess::*handler)())
{
    if (m_link.running()) return;
    m_lastOutcome = (m_access.*handler)();
    emit accessFinished();
}

void AccessController::setLockedControlsEnabled(bool enabled)
{
    m_controls.MSFGrid1->setEnabled(enabled);
    m_controls.Cmd_READ_all->setEnabled(enabled);
    m_controls.Cmd_READ_single->setEnabled(enabled);
    m_controls.Cmd_WRITE_all->setEnabled(enabled);
    m_controls.Cmd_WRITE_single->setEnabled(enabled);
    m_controls.Frame1->setEnabled(enabled);
}

void AccessController::setImageCommandsEnabled(bool enabled)
{
    m_controls.Combo_device->setEnabled(enabled);
    m_controls.CmbSize->setEnabled(enabled);
    m_controls.Command1->setEnabled(enabled);
    m_controls.mnuBufferClear->setEnabled(enabled);
    m_controls.Cmd_Open->setEnabled(enabled);
    m_controls.mnuFileOpen->setEnabled(enabled);
    m_controls.mnuFileRecent->menuAction()->setEnabled(enabled);
    m_controls.Cmd_SaveAs->setEnabled(enabled);
    m_controls.mnuFileSaveAs->setEnabled(enabled);
    m_controls.mnuOutPutTextFile->setEnabled(enabled);
    m_controls.Cmd_Port->setEnabled(enabled);
    m_controls.mnuToolsOptions->setEnabled(enabled);
}

void AccessController::focusHexBox() { m_controls.Text_modify_hex->setFocus(); }

std::optional<qint64> AccessController::currentCellAddress() const
{
    return m_imageView.currentAddress();
}

qint64 AccessController::accessSize() const { return m_devicePanel.accessSize(); }

void AccessController::ShowImage() { m_imageView.ShowImage(); }

void AccessController::showReadByte(std::uint8_t value)
{
    m_imageView.setCurrentCellText(GridTexts::byteCellText(value));
    m_imageView.MSFGrid1_Click();
}
