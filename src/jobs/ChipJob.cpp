#include "jobs/ChipJob.h"

#include "image/MemoryImage.h"
#include "jobs/ChipJobObserver.h"
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

// The outcome of a step that a stop request kept from starting: nothing was sent for it.
AccessOutcome notStarted()
{
    AccessOutcome outcome;
    outcome.kind = AccessOutcome::Kind::Cancelled;
    outcome.stage = AccessOutcome::Stage::Detection;
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
        result.access = notStarted();
        result.access.write =
            order.kind == ChipJobOrder::Kind::Write || order.kind == ChipJobOrder::Kind::Erase;
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
            read(ChipStep::Read, order, partSize(order), result);
            return;
        case ChipJobOrder::Kind::Write:
            write(ChipStep::Write, order, order.image, result);
            if (order.checkAfter) checkWritten(ChipStep::Verify, order, order.image, stop, result);
            return;
        case ChipJobOrder::Kind::Verify:
            check(ChipStep::Verify, order, order.image, result);
            return;
        case ChipJobOrder::Kind::BlankCheck:
            check(ChipStep::BlankCheck, order, blankImage(partSize(order)), result);
            return;
        case ChipJobOrder::Kind::Erase: {
            const QByteArray blank = blankImage(partSize(order));
            write(ChipStep::Erase, order, blank, result);
            if (order.checkAfter) checkWritten(ChipStep::BlankCheck, order, blank, stop, result);
            return;
        }
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
    noteBoardState(m_devicePath, outcome, result);
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
    finished(ChipStep::Detect, outcome, result);
}

void ChipJob::read(ChipStep step, const ChipJobOrder& order, qint64 imageSize,
                   ChipJobOutcome& result)
{
    started(step, result);
    MemoryImage chip;
    chip.recreate(imageSize);
    const AccessOutcome outcome = m_transfer.read(order.link, order.request, chip);
    result.chip = chip.bytes();
    finished(step, outcome, result);
}

void ChipJob::write(ChipStep step, const ChipJobOrder& order, const QByteArray& bytes,
                    ChipJobOutcome& result)
{
    started(step, result);
    finished(step, m_transfer.write(order.link, order.request, bytes), result);
}

void ChipJob::check(ChipStep step, const ChipJobOrder& order, const QByteArray& expected,
                    ChipJobOutcome& result)
{
    read(step, order, expected.size(), result);
    const AccessOutcome& outcome = result.access;
    if (!outcome.succeeded()) return;
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
    check(step, order, expected, result);
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
    if (written) return written;
    if (access.write) return access;
    return std::nullopt;
}

qint64 ChipJobOutcome::writtenTo() const
{
    const std::optional<AccessOutcome> write = writeStep();
    return write ? write->lastAddressDone() : -1;
}

bool ChipJobOutcome::readAllBlank() const
{
    if (!access.succeeded() || access.write || access.bytesDone == 0) return false;
    const auto* first =
        reinterpret_cast<const std::uint8_t*>(chip.constData()) + access.firstAddress;
    return std::all_of(first, first + access.bytesDone,
                       [](std::uint8_t byte) { return byte == MemoryImage::kBlank; });
}
