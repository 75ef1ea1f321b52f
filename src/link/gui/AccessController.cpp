#include "link/gui/AccessController.h"

#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "base/UserDialogs.h"
#include "files/BackupFiles.h"
#include "link/LinkSettings.h"
#include "link/PortClaim.h"
#include "link/SteadyLinkClock.h"
#include "link/gui/AccessTexts.h"
#include "session/ProgramState.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

namespace {

LinkClock& clockOrOwn(LinkClock* clock, std::unique_ptr<LinkClock>& own)
{
    if (clock) return *clock;
    own = std::make_unique<SteadyLinkClock>();
    return *own;
}

}  // namespace

AccessController::AccessController(const AccessControls& controls, Neighbours neighbours,
                                   const AppServices& services, StatusPanels& panels,
                                   SerialPort& port, LinkClock* clock, ComparisonView& comparisons,
                                   QObject* parent)
    : QObject(parent),
      m_controls(controls),
      m_neighbours(std::move(neighbours)),
      m_services(services),
      m_link(port, clockOrOwn(clock, m_ownClock)),
      m_frame({m_link, services.state.selectedDevice, services.state.image, services.state.unsaved,
               services.state.loadedFileBytes, services.state.editor, *this, panels,
               services.dialogs, comparisons,
               [&settings = services.settings] { return LinkSettings::stored(settings); },
               PortClaim::defaultFolder(), BackupFiles::defaultFolder()}),
      m_checks(m_frame),
      m_access(m_frame)
{
    using namespace SettingsKeys;
    keepOption(m_controls.mnuVerifyAfterWrite, kVerifyAfterWrite, true);
    keepOption(m_controls.mnuReadTwice, kReadTwice, false);
    keepOption(m_controls.mnuBackupBeforeWrite, kBackupBeforeWrite, true);
    keepOption(m_controls.mnuWriteChangedOnly, kWriteChangedOnly, true);
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_controls.window);
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    connectCommands();
}

AccessController::~AccessController() = default;

void AccessController::connectCommands()
{
    const AccessControls& c = m_controls;
    const auto command = [this](auto* object, auto signal, auto handler) {
        connect(object, signal, this, [this, handler] { run(handler); });
    };
    command(c.Cmd_READ_all, &QPushButton::clicked,
            [this] { return m_access.Cmd_READ_all_Click(); });
    command(c.Cmd_READ_single, &QPushButton::clicked,
            [this] { return m_access.Cmd_READ_single_Click(); });
    command(c.Cmd_WRITE_all, &QPushButton::clicked,
            [this] { return m_access.Cmd_WRITE_all_Click(); });
    command(c.Cmd_WRITE_single, &QPushButton::clicked,
            [this] { return m_access.Cmd_WRITE_single_Click(); });
    command(c.Cmd_VERIFY_all, &QPushButton::clicked,
            [this] { return m_checks.Cmd_VERIFY_all_Click(); });
    command(c.mnuVerify, &QAction::triggered, [this] { return m_checks.mnuVerify_Click(); });
    command(c.mnuBlankCheck, &QAction::triggered,
            [this] { return m_checks.mnuBlankCheck_Click(); });
    command(c.mnuErase, &QAction::triggered, [this] { return m_checks.mnuErase_Click(); });
    connect(c.Cmd_Cancel, &QPushButton::clicked, this, &AccessController::Cmd_Cancel_Click);
    connect(m_escape, &QShortcut::activated, this, &AccessController::Cmd_Cancel_Click);
}

void AccessController::run(const std::function<ChipJobOutcome()>& command)
{
    if (m_frame.running()) return;
    m_lastOutcome = command();
    emit accessFinished();
}

void AccessController::keepOption(QAction* option, const QString& key, bool onByDefault)
{
    // An option on by default stays on unless the store says "False", one off by default stays
    // off unless it says "True".
    const QString stored = m_services.settings.get(SettingsKeys::kSettings6, key, QString());
    const QString other = onByDefault ? QStringLiteral("False") : QStringLiteral("True");
    const bool differs = stored.compare(other, Qt::CaseInsensitive) == 0;
    option->setChecked(onByDefault != differs);
    connect(option, &QAction::toggled, this, [this, key](bool ticked) {
        m_services.settings.save(SettingsKeys::kSettings6, key,
                                 ticked ? QStringLiteral("True") : QStringLiteral("False"));
    });
}

bool AccessController::confirmStopForClose()
{
    m_stoppingWrite = false;
    if (!m_frame.writing()) return true;
    // The question holds the write where it is; a second close meanwhile asks nothing more.
    if (m_askingToStop) return false;
    m_askingToStop = true;
    MessageBoxRequest question;
    question.text = AccessTexts::stopWriteForCloseQuestion();
    question.title = ProductInfo::kApplicationTitle;
    question.icon = MessageIcon::Warning;
    question.buttons = MessageButtons::OkCancel;
    const bool stop = m_services.dialogs.showMessage(question) == MessageAnswer::Ok;
    m_askingToStop = false;
    m_stoppingWrite = stop;
    return stop;
}

void AccessController::reportStopForClose()
{
    // A write that ended on its own before the stop reached it has nothing to report.
    if (!std::exchange(m_stoppingWrite, false) ||
        m_lastOutcome.access.kind != AccessOutcome::Kind::Cancelled) {
        return;
    }
    MessageBoxRequest message;
    message.text = AccessTexts::stoppedForCloseText(m_frame.lastText());
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::Warning;
    message.buttons = MessageButtons::Ok;
    m_services.dialogs.showMessage(message);
}

void AccessController::setLockedControlsEnabled(bool enabled)
{
    for (QPushButton* button :
         {m_controls.Cmd_READ_all, m_controls.Cmd_READ_single, m_controls.Cmd_WRITE_all,
          m_controls.Cmd_WRITE_single, m_controls.Cmd_VERIFY_all}) {
        button->setEnabled(enabled);
    }
    for (QAction* action : {m_controls.mnuVerify, m_controls.mnuBlankCheck, m_controls.mnuErase}) {
        action->setEnabled(enabled);
    }
}

void AccessController::setImageCommandsEnabled(bool enabled)
{
    // Each part of the window locks its own commands: the grid and the byte editor, the device
    // list, the file commands, the port window.
    emit accessRunningChanged(!enabled);
}

// The hexadecimal box is the image view's: it takes the focus when the access has ended.
void AccessController::focusHexBox() {}

void AccessController::setAccessRunning(bool running)
{
    m_controls.Cmd_Cancel->setEnabled(running);
    m_escape->setEnabled(running);
    m_controls.PrgAccess->setValue(0);
    m_controls.Lbl_AccessTime->clear();
    m_controls.PrgAccess->setVisible(running);
    m_controls.Lbl_AccessTime->setVisible(running);
    m_controls.Cmd_Cancel->setVisible(running);
}

void AccessController::showProgress(int percent, const QString& timeText)
{
    m_controls.PrgAccess->setValue(percent);
    m_controls.Lbl_AccessTime->setText(timeText);
}

std::optional<qint64> AccessController::currentCellAddress() const
{
    return m_neighbours.currentCellAddress();
}

qint64 AccessController::accessSize() const { return m_neighbours.accessSize(); }

QString AccessController::deviceName() const { return m_neighbours.deviceName(); }

bool AccessController::verifyAfterWrite() const
{
    return m_controls.mnuVerifyAfterWrite->isChecked();
}

int AccessController::readsOfChip() const { return m_controls.mnuReadTwice->isChecked() ? 2 : 1; }

bool AccessController::backupBeforeWrite() const
{
    return m_controls.mnuBackupBeforeWrite->isChecked();
}

bool AccessController::writeChangedOnly() const
{
    return m_controls.mnuWriteChangedOnly->isChecked();
}

void AccessController::ShowImage() { m_neighbours.showImage(); }

void AccessController::showReadByte(std::uint8_t value) { m_neighbours.showReadByte(value); }
