#include "jobs/ChipJob.h"

#include "image/MemoryImage.h"
#include "jobs/ChipJobObserver.h"
#include "jobs/StepProgress.h"
#include "link/ProgrammerLink.h"

#include <algorithm>

namespace {

QByteArray blankImage(qint64 size)
{
    return QByteArray(size, static_cast<char>(MemoryImage::kBlank));
}

qint64 partSize(const ChipJobOrder& order)
{
    return order.request.device ? order.request.device->memorySize() : 0;
}

// The outcome of an access that a stop request kept from starting: nothing was sent for it.
AccessOutcome notStarted(bool write = false)
{
    AccessOutcome outcome;
    outcome.kind = AccessOutcome::Kind::Cancelled;
    outcome.stage = AccessOutcome::Stage::Detection;
    outcome.write = write;
    return outcome;
}

ChipStep firstStep(ChipJobOrder::Kind kind)
{
    switch (kind) {
        case ChipJobOrder::Kind::Detect:
            return ChipStep::Detect;
        case ChipJobOrder::Kind::Read:
            return ChipStep::Read;
        case ChipJobOrder::Kind::Write:
            return ChipStep::Write;
        case ChipJobOrder::Kind::Verify:
            return ChipStep::Verify;
        case ChipJobOrder::Kind::BlankCheck:
            return ChipStep::BlankCheck;
        case ChipJobOrder::Kind::Erase:
            return ChipStep::Erase;
    }
    return ChipStep::Detect;
}

// The agreement an outcome keeps: reads that differed stay in sight after later reads that
// agreed, and reads without agreed bytes, which end the job, always show.
void keepAgreement(const ReadAgreement& agreement, ChipJobOutcome& result)
{
    if (!result.agreement || result.agreement->unanimous() || !agreement.decided()) {
        result.agreement = agreement;
    }
}

const std::atomic<bool> kNeverStop{false};

}  // namespace

TransferRequest ChipJobOrder::wholePart(const SelectedDevice& device)
{
    TransferRequest request;
    request.mode = AccessMode::Block;
    request.device = device;
    request.accessSize = device.memorySize();
    return request;
}

ChipJobOutcome ChipJob::run(const ChipJobOrder& order) { return run(order, kNeverStop); }

ChipJobOutcome ChipJob::run(const ChipJobOrder& order, const std::atomic<bool>& stop)
{
    ChipJobOutcome result;
    result.step = firstStep(order.kind);
    if (stop) {
        result.access = notStarted(order.kind == ChipJobOrder::Kind::Write ||
                                   order.kind == ChipJobOrder::Kind::Erase);
        return result;
    }
    const LinkClock::Duration start = m_link.clock().now();
    m_devicePath = order.link.devicePath;
    AccessObserver* previous = m_link.observer();
    if (m_observer) m_link.setObserver(m_observer);
    runSteps(order, stop, result);
    m_link.setObserver(previous);
    result.elapsed = m_link.clock().now() - start;
    return result;
}

void ChipJob::runSteps(const ChipJobOrder& order, const std::atomic<bool>& stop,
                       ChipJobOutcome& result)
{
    switch (order.kind) {
        case ChipJobOrder::Kind::Detect:
            detect(order, result);
            return;
        case ChipJobOrder::Kind::Read:
            read(ChipStep::Read, order, order.request, partSize(order), stop, result);
            return;
        case ChipJobOrder::Kind::Write:
            overwrite(ChipStep::Write, ChipStep::Verify, order, order.image, stop, result);
            return;
        case ChipJobOrder::Kind::Verify:
            check(ChipStep::Verify, order, order.image, stop, result);
            return;
        case ChipJobOrder::Kind::BlankCheck:
            check(ChipStep::BlankCheck, order, blankImage(partSize(order)), stop, result);
            return;
        case ChipJobOrder::Kind::Erase:
            overwrite(ChipStep::Erase, ChipStep::BlankCheck, order, blankImage(partSize(order)),
                      stop, result);
            return;
    }
}

void ChipJob::started(ChipStep step, ChipJobOutcome& result)
{
    result.step = step;
    if (m_observer) m_observer->stepStarted(step);
}

void ChipJob::finished(ChipStep step, const AccessOutcome& outcome, ChipJobOutcome& result)
{
    result.access = outcome;
    if (m_observer) m_observer->stepFinished(step, outcome);
}

void ChipJob::detect(const ChipJobOrder& order, ChipJobOutcome& result)
{
    started(ChipStep::Detect, result);
    AccessOutcome outcome;
    if (m_link.begin()) {
        const LinkClock::Duration start = m_link.clock().now();
        outcome = m_link.Read_Version(order.link);
        outcome.elapsed = m_link.clock().now() - start;
        m_link.end();
    } else {
        outcome.kind = AccessOutcome::Kind::Refused;
        outcome.refusal = AccessOutcome::Refusal::Busy;
    }
    noteBoardState(m_devicePath, outcome, result);
    finished(ChipStep::Detect, outcome, result);
}

bool ChipJob::read(ChipStep step, const ChipJobOrder& order, const TransferRequest& request,
                   qint64 imageSize, const std::atomic<bool>& stop, ChipJobOutcome& result)
{
    started(step, result);
    const int passes = std::max(1, order.reads);
    const TransferPlanResult planned = planTransfer(request, imageSize);
    const qint64 eachPass = planned.plan ? planned.plan->chunkedByteCount() : 0;
    StepProgress progress(m_link, passes > 1 ? m_observer : nullptr, eachPass * passes);
    QList<QByteArray> reads;
    AccessOutcome outcome;
    for (int pass = 0; pass < passes; ++pass) {
        if (pass > 0 && stop) {
            // The reads so far went well; the one that would have come next never began.
            outcome.kind = AccessOutcome::Kind::Cancelled;
            finished(step, outcome, result);
            return false;
        }
        MemoryImage chip;
        chip.recreate(imageSize);
        outcome = m_transfer.read(order.link, request, chip);
        noteBoardState(m_devicePath, outcome, result);
        if (!outcome.succeeded()) {
            result.chip = chip.bytes();
            finished(step, outcome, result);
            return false;
        }
        reads.append(chip.bytes());
        progress.advance(eachPass);
    }
    const ReadsCompared compared = compareReads(reads);
    if (passes > 1) keepAgreement(compared.agreement, result);
    result.chip = compared.agreed;
    finished(step, outcome, result);
    return compared.agreement.decided();
}

void ChipJob::overwrite(ChipStep step, ChipStep checkStep, const ChipJobOrder& order,
                        const QByteArray& bytes, const std::atomic<bool>& stop,
                        ChipJobOutcome& result)
{
    const TransferPlanResult planned = planTransfer(order.request, bytes.size());
    const bool block = planned.plan && planned.plan->mode == AccessMode::Block;
    const bool changedOnly = block && order.changedOnly;
    if (block && (changedOnly || !order.backupFolder.isEmpty())) {
        if (!readBefore(order, bytes.size(), stop, result)) return;
        if (stop) {
            result.step = step;
            result.access = notStarted(true);
            return;
        }
    }
    if (changedOnly) {
        result.spans = changedSpans(*planned.plan, result.chip, bytes);
        if (result.spans.isEmpty()) {
            started(step, result);
            AccessOutcome nothing;
            nothing.write = true;
            nothing.identification = result.access.identification;
            nothing.firstAddress = planned.plan->start;
            result.chipHeldImage = true;
            finished(step, nothing, result);
            return;
        }
    } else if (planned.plan) {
        result.spans = {{planned.plan->start, planned.plan->byteCount()}};
    }
    writeSpans(step, order, bytes, stop, result);
    if (order.checkAfter) checkWritten(checkStep, order, bytes, stop, result);
}

bool ChipJob::readBefore(const ChipJobOrder& order, qint64 imageSize, const std::atomic<bool>& stop,
                         ChipJobOutcome& result)
{
    if (order.backupFolder.isEmpty()) {
        return read(ChipStep::Read, order, order.request, imageSize, stop, result);
    }
    if (!read(ChipStep::Read, order, ChipJobOrder::wholePart(*order.request.device),
              partSize(order), stop, result)) {
        return false;
    }
    result.backup = BackupFiles::save(order.backupFolder, order.partName, order.link.devicePath,
                                      result.chip, m_wallClock());
    return result.backup->saved();
}

void ChipJob::writeSpans(ChipStep step, const ChipJobOrder& order, const QByteArray& bytes,
                         const std::atomic<bool>& stop, ChipJobOutcome& result)
{
    started(step, result);
    if (!order.changedOnly || order.request.mode != AccessMode::Block) {
        const AccessOutcome outcome = m_transfer.write(order.link, order.request, bytes);
        noteBoardState(m_devicePath, outcome, result);
        result.bytesWritten = outcome.bytesDone;
        finished(step, outcome, result);
        return;
    }
    qint64 total = 0;
    for (const WriteSpan& span : result.spans) total += span.length;
    StepProgress progress(m_link, result.spans.size() > 1 ? m_observer : nullptr, total);
    AccessOutcome outcome;
    for (const WriteSpan& span : result.spans) {
        if (outcome.bytesDone > 0) {
            result.written = outcome;
            if (stop) {
                outcome = notStarted(true);
                break;
            }
        }
        TransferRequest request = order.request;
        request.offset = span.offset;
        request.accessSize = span.length;
        outcome = m_transfer.write(order.link, request, bytes);
        noteBoardState(m_devicePath, outcome, result);
        result.bytesWritten += outcome.bytesDone;
        if (!outcome.succeeded()) break;
        progress.advance(span.length);
    }
    finished(step, outcome, result);
}

void ChipJob::check(ChipStep step, const ChipJobOrder& order, const QByteArray& expected,
                    const std::atomic<bool>& stop, ChipJobOutcome& result)
{
    if (!read(step, order, order.request, expected.size(), stop, result)) return;
    const AccessOutcome& outcome = result.access;
    result.comparison =
        compareRange(expected, result.chip, outcome.firstAddress, outcome.bytesDone);
}

void ChipJob::checkWritten(ChipStep step, const ChipJobOrder& order, const QByteArray& expected,
                           const std::atomic<bool>& stop, ChipJobOutcome& result)
{
    if (!result.access.succeeded()) return;
    result.written = result.access;
    if (stop) {
        result.step = step;
        result.access = notStarted();
        return;
    }
    check(step, order, expected, stop, result);
}

void ChipJob::noteBoardState(const QString& devicePath, const AccessOutcome& outcome,
                             ChipJobOutcome& result) const
{
    if (!m_stoppedWrites || outcome.kind == AccessOutcome::Kind::Refused) return;
    if (outcome.bytesBoardAwaits() > 0) {
        m_stoppedWrites->record(devicePath,
                                {outcome.bytesBoardAwaits(), outcome.lastAddressDone()});
        return;
    }
    const bool answered = outcome.stage == AccessOutcome::Stage::Transfer ||
                          outcome.kind == AccessOutcome::Kind::Done;
    if (answered) {
        m_stoppedWrites->clear(devicePath);
    } else if (outcome.kind == AccessOutcome::Kind::NoBoard) {
        result.earlierStoppedWrite = m_stoppedWrites->find(devicePath);
    }
}

std::optional<AccessOutcome> ChipJobOutcome::writeStep() const
{
    if (access.write && (access.bytesDone > 0 || !written)) return access;
    if (written) return written;
    return std::nullopt;
}

qint64 ChipJobOutcome::writtenTo() const
{
    const std::optional<AccessOutcome> write = writeStep();
    return write ? write->lastAddressDone() : -1;
}

bool ChipJobOutcome::readAllBlank() const
{
    const bool readLast = !access.write ? access.bytesDone > 0 : chipHeldImage;
    if (!access.succeeded() || !readLast || chip.isEmpty()) return false;
    // A read leaves its image 0xFF outside the range it reads.
    return std::all_of(chip.cbegin(), chip.cend(), [](char byte) {
        return static_cast<std::uint8_t>(byte) == MemoryImage::kBlank;
    });
}
