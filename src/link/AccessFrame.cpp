#include "link/AccessFrame.h"

#include "base/ProductInfo.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "devices/SelectedDevice.h"
#include "link/AccessWindow.h"
#include "link/LinkSettings.h"
#include "link/PortUnusableMessage.h"
#include "link/ProgrammerLink.h"

#include <QCoreApplication>

namespace {

MessageBoxRequest oldFirmwareMessage()
{
    MessageBoxRequest message;
    message.text =
        QCoreApplication::translate("AccessFrame",
                                    "このファームウエアバージョンでは、VORLE6.EXEは使用できません。"
                                    "ファームウエアバージョン６以上をご使用ください。");
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::None;
    message.buttons = MessageButtons::Ok;
    return message;
}

}  // namespace

AccessFrame::AccessFrame(Context context)
    : m_context(std::move(context)), m_transfer(m_context.link), m_operations(m_transfer)
{
    m_context.link.setObserver(this);
}

AccessFrame::~AccessFrame() { m_context.link.setObserver(nullptr); }

TransferRequest AccessFrame::request(::AccessMode mode) const
{
    TransferRequest request;
    request.mode = mode;
    request.device = m_context.device;
    request.accessSize = m_context.window.accessSize();
    if (mode == ::AccessMode::Byte) request.cellAddress = m_context.window.currentCellAddress();
    return request;
}

std::optional<AccessOutcome> AccessFrame::refusal(const TransferRequest& request,
                                                  std::int64_t imageSize)
{
    AccessOutcome outcome;
    outcome.kind = AccessOutcome::Kind::Refused;
    if (running() || m_context.link.running()) {
        outcome.refusal = AccessOutcome::Refusal::Busy;
        return outcome;
    }
    const TransferPlanResult planned = planTransfer(request, imageSize);
    if (planned.plan) return std::nullopt;
    outcome.refusal = planned.refusal;
    outcome.text = planned.refusalText;
    m_context.panels.setText(1, outcome.text);
    return outcome;
}

AccessOutcome AccessFrame::run(::AccessMode mode, const QString& statusText,
                               const std::function<AccessOutcome(const LinkSettings&)>& command)
{
    Lock_Controls();
    m_accessMode = mode;
    startPhase(statusText);
    const AccessOutcome outcome = command(m_context.linkSettings());
    showOutcome(outcome);
    Unlock_Controls();
    return outcome;
}

void AccessFrame::startPhase(const QString& statusText)
{
    if (!statusText.isEmpty()) m_context.panels.setText(1, statusText);
    m_shownPercent = 0;
    m_time.start(m_context.link.clock().now());
    m_shownTime = m_time.text(m_context.link.clock().now(), 0, 0);
    m_context.window.showProgress(0, m_shownTime);
}

void AccessFrame::showOutcome(const AccessOutcome& outcome)
{
    switch (outcome.kind) {
        case AccessOutcome::Kind::PortUnusable:
            m_context.dialogs.showMessage(portUnusableMessage(outcome.reason));
            break;
        case AccessOutcome::Kind::OldFirmware:
            m_context.dialogs.showMessage(oldFirmwareMessage());
            break;
        default:
            break;
    }
    m_context.panels.setText(1, outcome.text);
}

void AccessFrame::warn(const QString& text)
{
    MessageBoxRequest message;
    message.text = text;
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::Warning;
    message.buttons = MessageButtons::Ok;
    m_context.dialogs.showMessage(message);
}

void AccessFrame::Lock_Controls()
{
    m_locked = true;
    m_cancelRequested = false;
    m_context.window.setLockedControlsEnabled(false);
    m_context.window.setImageCommandsEnabled(false);
    m_context.window.setAccessRunning(true);
    m_context.panels.setText(1, QString());
    m_context.panels.setText(2, QString());
    m_context.link.setTimeOutFlag(0);
}

void AccessFrame::Unlock_Controls()
{
    m_context.window.setLockedControlsEnabled(true);
    m_context.window.setImageCommandsEnabled(true);
    m_context.window.setAccessRunning(false);
    m_context.window.focusHexBox();
    m_context.link.end();
    m_locked = false;
}

void AccessFrame::cancel()
{
    if (!m_locked) return;
    m_cancelRequested = true;
    m_context.link.cancel();
}

void AccessFrame::boardIdentified(const LinkSettings& link, const QString& identification)
{
    m_context.panels.setText(2, link.portName() + QStringLiteral(" : ") + identification);
}

void AccessFrame::boardNotConnected(const LinkSettings& link)
{
    m_context.panels.setText(
        2, link.portName() + QCoreApplication::translate("AccessFrame", " : ライター未接続"));
}

void AccessFrame::replyTimedOut()
{
    m_context.panels.setText(1, QCoreApplication::translate("AccessFrame", "タイムアウト"));
}

void AccessFrame::progressed(const AccessProgress& progress)
{
    // Every chunk reports; the texts change only a few hundred times in a whole read.
    const QString timeText =
        m_time.text(m_context.link.clock().now(), progress.done, progress.total);
    const bool percentChanged = progress.percent != m_shownPercent;
    if (percentChanged) {
        m_context.panels.setText(3, QString::number(progress.percent) + QStringLiteral("%"));
        m_shownPercent = progress.percent;
    }
    if (percentChanged || timeText != m_shownTime) {
        m_shownTime = timeText;
        m_context.window.showProgress(progress.percent, timeText);
    }
}
