#include "link/gui/AccessFrame.h"

#include "base/ProductInfo.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "devices/SelectedDevice.h"
#include "image/ComparisonView.h"
#include "link/LinkSettings.h"
#include "link/PortClaim.h"
#include "link/ProgrammerLink.h"
#include "link/gui/AccessTexts.h"
#include "link/gui/AccessWindow.h"
#include "link/gui/PortFailureText.h"
#include "link/gui/PortUnusableMessage.h"

namespace {

// A block write or erase: what a backup and the changed chunks are for.
bool overwritesBlocks(const ChipJobOrder& order)
{
    const bool overwrite =
        order.kind == ChipJobOrder::Kind::Write || order.kind == ChipJobOrder::Kind::Erase;
    return overwrite && order.request.mode == ::AccessMode::Block;
}

}  // namespace

AccessFrame::AccessFrame(Context context)
    : m_context(std::move(context)), m_stoppedWrites(m_context.claimFolder), m_job(m_context.link)
{
    m_job.setObserver(this);
    m_job.setStoppedWrites(&m_stoppedWrites);
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

ChipJobOutcome AccessFrame::declinedByTheUser()
{
    ChipJobOutcome declined;
    declined.access.kind = AccessOutcome::Kind::Refused;
    return declined;
}

std::optional<ChipJobOutcome> AccessFrame::refusal(const TransferRequest& request,
                                                   std::int64_t imageSize)
{
    ChipJobOutcome refused;
    refused.access.kind = AccessOutcome::Kind::Refused;
    if (running() || m_context.link.running()) {
        refused.access.refusal = AccessOutcome::Refusal::Busy;
        return refused;
    }
    const TransferPlanResult planned = planTransfer(request, imageSize);
    if (planned.plan) return std::nullopt;
    refused.access = planned.refusedOutcome();
    m_context.panels.setText(1, AccessTexts::refusalText(refused.access));
    return refused;
}

ChipJobOutcome AccessFrame::run(ChipJobOrder order, const Finish& finish)
{
    Lock_Controls();
    m_accessMode = order.request.mode;
    m_stepsStarted = 0;
    order.link = m_context.linkSettings();
    takeOptions(order);
    // The claim keeps every other program of ours off the port for the whole command: a
    // vorle6-cli cannot take it between this write and its verify.
    PortClaim claim(m_context.claimFolder, order.link.devicePath);
    ChipJobOutcome job;
    if (m_context.window.backupBeforeWrite() && overwritesBlocks(order) &&
        m_context.backupFolder.isEmpty()) {
        job = noBackupFolder();
    } else if (claim.acquire() || claim.unusable()) {
        // A folder where no claim can be made (none writable) does not stop the command.
        job = m_job.run(order, m_stop);
    } else {
        job = claimedElsewhere(order, claim);
    }
    QString text = AccessTexts::endText(order, job, m_stepText);
    if (finish) finish(job, text);
    showReadsCompared(job, text);
    showOutcome(job.access, text);
    if (job.backup && !job.backup->saved()) warn(AccessTexts::backupFailedWarning(*job.backup));
    Unlock_Controls();
    return job;
}

void AccessFrame::takeOptions(ChipJobOrder& order) const
{
    const AccessWindow& window = m_context.window;
    order.reads = window.readsOfChip();
    if (!overwritesBlocks(order)) return;
    if (window.backupBeforeWrite() && !m_context.backupFolder.isEmpty()) {
        order.backupFolder = m_context.backupFolder;
        order.partName = window.deviceName();
    }
    order.changedOnly = order.kind == ChipJobOrder::Kind::Write && window.writeChangedOnly();
}

void AccessFrame::showReadsCompared(const ChipJobOutcome& job, const QString& text)
{
    if (!job.agreement || job.agreement->unanimous() || job.comparison) return;
    const ReadAgreement& agreement = *job.agreement;
    // The list's two columns are the first two reads.
    Comparison reads;
    reads.compared = agreement.differingAt.size();
    reads.mismatches = agreement.differing;
    reads.differing = agreement.differingAt;
    for (const ReadDisagreement& difference : agreement.first) {
        reads.first.append(
            {difference.address, difference.values.value(0), difference.values.value(1)});
    }
    m_context.comparisons.showComparison(
        reads, {AccessTexts::readsCaption(), text, AccessTexts::readCaption(2),
                AccessTexts::readCaption(1)});
}

ChipJobOutcome AccessFrame::noBackupFolder()
{
    ChipJobOutcome job;
    job.step = ChipStep::Read;
    job.access.kind = AccessOutcome::Kind::Refused;
    job.backup = SavedBackup{};
    job.backup->failure.cause = FileWriteFailure::Cause::NoFolder;
    return job;
}

ChipJobOutcome AccessFrame::claimedElsewhere(const ChipJobOrder& order, const PortClaim& claim)
{
    ChipJobOutcome job;
    job.access.kind = AccessOutcome::Kind::PortUnusable;
    job.access.stage = AccessOutcome::Stage::Detection;
    PortOpenFailure& failure = job.access.portFailure;
    failure.kind = PortOpenFailure::Kind::InUse;
    failure.portNumber = order.link.portNumber;
    failure.devicePath = order.link.devicePath;
    if (claim.holderPid() > 0) {
        failure.holder =
            QStringLiteral("%1 (PID %2)").arg(claim.holderProgram()).arg(claim.holderPid());
    } else {
        failure.systemReason = claim.fileName();
    }
    return job;
}

void AccessFrame::startPhase(const QString& statusText)
{
    m_stepText = statusText;
    if (!statusText.isEmpty()) m_context.panels.setText(1, statusText);
    m_shownPercent = 0;
    m_barPercent = 0;
    m_barShownAt = m_context.link.clock().now();
    m_time.start(m_barShownAt);
    m_shownTime = m_time.text(m_barShownAt, 0, 0);
    m_context.window.showProgress(0, m_shownTime);
}

void AccessFrame::stepStarted(ChipStep step)
{
    ++m_stepsStarted;
    startPhase(AccessTexts::stepText(step, m_accessMode));
}

void AccessFrame::stepFinished(ChipStep step, const AccessOutcome& outcome)
{
    // A write or erase that went well is followed by its check: say so until the check begins.
    if ((step == ChipStep::Write || step == ChipStep::Erase) && outcome.succeeded()) {
        m_context.panels.setText(1, AccessTexts::writtenText(step, outcome));
    }
}

void AccessFrame::showOutcome(const AccessOutcome& outcome, const QString& text)
{
    switch (outcome.kind) {
        case AccessOutcome::Kind::PortUnusable:
            m_context.dialogs.showMessage(
                portUnusableMessage(portFailureText(outcome.portFailure)));
            break;
        case AccessOutcome::Kind::OldFirmware:
            m_context.dialogs.showMessage(AccessTexts::oldFirmwareMessage());
            break;
        default:
            break;
    }
    m_lastText = text;
    m_context.panels.setText(1, text);
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
    m_stop = false;
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
    m_stop = true;
    m_context.link.cancel();
}

void AccessFrame::boardIdentified(const LinkSettings& link, const QString& identification)
{
    m_context.panels.setText(2, link.portName() + QStringLiteral(" : ") + identification);
}

void AccessFrame::boardNotConnected(const LinkSettings& link)
{
    m_context.panels.setText(2, AccessTexts::notConnectedText(link.portName()));
}

void AccessFrame::replyTimedOut() { m_context.panels.setText(1, AccessTexts::timeOutText()); }

void AccessFrame::progressed(const AccessProgress& progress)
{
    // Every chunk reports. Panel 3 changes whenever its rounded percentage does; the bar and the
    // time beside it at most ten times a second (and at the end), so that the chunk loop never
    // waits on painting them.
    if (progress.percent != m_shownPercent) {
        m_context.panels.setText(3, QString::number(progress.percent) + QStringLiteral("%"));
        m_shownPercent = progress.percent;
    }
    const LinkClock::Duration now = m_context.link.clock().now();
    const bool whole = progress.done >= progress.total;
    if (!whole && now - m_barShownAt < kBarInterval) return;
    const QString timeText = m_time.text(now, progress.done, progress.total);
    if (progress.percent == m_barPercent && timeText == m_shownTime) return;
    m_barShownAt = now;
    m_barPercent = progress.percent;
    m_shownTime = timeText;
    m_context.window.showProgress(progress.percent, timeText);
}
