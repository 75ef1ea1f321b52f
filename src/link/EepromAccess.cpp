#include "link/EepromAccess.h"

#include "base/ProductInfo.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "devices/SelectedDevice.h"
#include "image/MemoryImage.h"
#include "link/AccessWindow.h"
#include "link/LinkSettings.h"
#include "link/PortUnusableMessage.h"
#include "link/ProgrammerLink.h"

namespace {

MessageBoxRequest oldFirmwareMessage()
{
    MessageBoxRequest message;
    message.text = QStringLiteral(
        "このファームウエアバージョンでは、VORLE6.EXEは使用できません。"
        "ファームウエアバージョン６以上をご使用ください。");
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::None;
    message.buttons = MessageButtons::Ok;
    return message;
}

}  // namespace

EepromAccess::EepromAccess(Context context)
    : m_context(std::move(context)), m_transfer(m_context.link)
{
    m_context.link.setObserver(this);
}

bool EepromAccess::running() const { return m_context.link.running(); }

TransferRequest EepromAccess::request(::AccessMode mode) const
{
    TransferRequest request;
    request.mode = mode;
    request.device = m_context.device;
    request.accessSize = m_context.window.accessSize();
    if (mode == ::AccessMode::Byte) request.cellAddress = m_context.window.currentCellAddress();
    return request;
}

AccessOutcome EepromAccess::Cmd_READ_all_Click()
{
    const TransferRequest block = request(::AccessMode::Block);
    const std::int64_t partSize = block.device ? block.device->memorySize() : 0;
    if (auto refused = refusal(block, partSize)) return *refused;
    return run(::AccessMode::Block, QStringLiteral("読み出し中....."),
               [&](const LinkSettings& link) { return readWholeImage(link, block, partSize); });
}

AccessOutcome EepromAccess::readWholeImage(const LinkSettings& link, const TransferRequest& block,
                                           std::int64_t partSize)
{
    // The read fills a blank image of the part's size that replaces the memory image only once
    // all of it has come: a failed read leaves the image, grid and checksum as they were, so a
    // Block Write after it cannot send a part of 0xFF.
    MemoryImage read;
    read.recreate(partSize);
    AccessOutcome outcome = m_transfer.Eep_Read(link, *planTransfer(block, partSize).plan, read);
    if (outcome.succeeded()) {
        m_context.image = std::move(read);
        m_context.panels.setText(1, QString());
        m_context.window.ShowImage();
    }
    return outcome;
}

AccessOutcome EepromAccess::Cmd_READ_single_Click()
{
    const TransferRequest byte = request(::AccessMode::Byte);
    if (auto refused = refusal(byte, m_context.image.size())) return *refused;
    return run(::AccessMode::Byte, QString(), [&](const LinkSettings& link) {
        const TransferPlan plan = *planTransfer(byte, m_context.image.size()).plan;
        AccessOutcome outcome = m_transfer.Eep_Read(link, plan, m_context.image);
        if (outcome.succeeded()) {
            m_context.panels.setText(1, QString());
            m_context.window.showReadByte(m_context.image.at(plan.start));
        }
        return outcome;
    });
}

AccessOutcome EepromAccess::Cmd_WRITE_all_Click()
{
    const TransferRequest block = request(::AccessMode::Block);
    if (auto refused = refusal(block, m_context.image.size())) return *refused;
    return run(
        ::AccessMode::Block, QStringLiteral("書き込み中....."), [&](const LinkSettings& link) {
            // The bytes as they stand now: whatever happens to the image while the write waits for
            // the board, the part receives one consistent copy.
            const QByteArray source = m_context.image.bytes();
            return m_transfer.Eep_Write(link, *planTransfer(block, source.size()).plan, source);
        });
}

AccessOutcome EepromAccess::Cmd_WRITE_single_Click()
{
    const TransferRequest byte = request(::AccessMode::Byte);
    if (auto refused = refusal(byte, m_context.image.size())) return *refused;
    return run(::AccessMode::Byte, QString(), [&](const LinkSettings& link) {
        const QByteArray source = m_context.image.bytes();
        return m_transfer.Eep_Write(link, *planTransfer(byte, source.size()).plan, source);
    });
}

std::optional<AccessOutcome> EepromAccess::refusal(const TransferRequest& request,
                                                   std::int64_t imageSize)
{
    AccessOutcome outcome;
    outcome.kind = AccessOutcome::Kind::Refused;
    if (running()) {
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

AccessOutcome EepromAccess::run(::AccessMode mode, const QString& statusText,
                                const std::function<AccessOutcome(const LinkSettings&)>& transfer)
{
    Lock_Controls();
    if (!statusText.isEmpty()) m_context.panels.setText(1, statusText);
    m_accessMode = mode;
    m_shownPercent = 0;
    AccessOutcome outcome;
    if (m_context.link.begin(statusText)) {
        outcome = transfer(m_context.linkSettings());
        m_context.link.end();
        showOutcome(outcome);
    }
    Unlock_Controls();
    return outcome;
}

void EepromAccess::showOutcome(const AccessOutcome& outcome)
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

void EepromAccess::Lock_Controls()
{
    m_context.window.setLockedControlsEnabled(false);
    m_context.window.setImageCommandsEnabled(false);
    m_context.panels.setText(1, QString());
    m_context.panels.setText(2, QString());
    m_context.link.setTimeOutFlag(0);
}

void EepromAccess::Unlock_Controls()
{
    m_context.window.setLockedControlsEnabled(true);
    m_context.window.setImageCommandsEnabled(true);
    m_context.window.focusHexBox();
    m_context.link.end();
}

void EepromAccess::boardIdentified(const LinkSettings& link, const QString& identification)
{
    m_context.panels.setText(2, link.portName() + QStringLiteral(" : ") + identification);
}

void EepromAccess::boardNotConnected(const LinkSettings& link)
{
    m_context.panels.setText(2, link.portName() + QStringLiteral(" : ライター未接続"));
}

void EepromAccess::replyTimedOut() { m_context.panels.setText(1, QStringLiteral("タイムアウト")); }

void EepromAccess::progressed(const AccessProgress& progress)
{
    if (progress.percent == m_shownPercent) return;
    m_context.panels.setText(3, QString::number(progress.percent) + QStringLiteral("%"));
    m_shownPercent = progress.percent;
}
