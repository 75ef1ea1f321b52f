#include "cli/BoardJob.h"

#include "image/MemoryImage.h"
#include "link/PortHolders.h"
#include "link/ProgrammerLink.h"
#include "link/SerialPort.h"

namespace {

JobPhase firstPhase(CliCommand command)
{
    switch (command) {
        case CliCommand::Read:
            return JobPhase::Read;
        case CliCommand::Write:
            return JobPhase::Write;
        case CliCommand::Verify:
            return JobPhase::Verify;
        case CliCommand::Blank:
            return JobPhase::BlankCheck;
        case CliCommand::Erase:
            return JobPhase::Erase;
        case CliCommand::List:
        case CliCommand::Detect:
            break;
    }
    return JobPhase::Detect;
}

QByteArray blankImage(qint64 size)
{
    return QByteArray(size, static_cast<char>(MemoryImage::kBlank));
}

}  // namespace

BoardJob::BoardJob(ProgrammerLink& link, const JobOrder& order, const LinkSettings& settings)
    : m_link(link), m_transfer(link), m_operations(m_transfer), m_order(order), m_settings(settings)
{
}

BoardResult BoardJob::run(const std::atomic<bool>& stop)
{
    BoardResult result;
    result.link = m_settings;
    result.command = m_order.command;
    result.partName = m_order.partName;
    result.verifyAfter = m_order.verifyAfter;
    m_phase = result.phase = firstPhase(m_order.command);
    if (stop) {
        result.kind = BoardResult::Kind::Cancelled;
        return result;
    }

    const LinkClock::Duration start = m_link.clock().now();
    AccessObserver* previous = m_link.observer();
    m_link.setObserver(this);
    switch (m_order.command) {
        case CliCommand::List:
        case CliCommand::Detect:
            detect(result);
            break;
        case CliCommand::Read:
            read(result);
            break;
        case CliCommand::Write:
            write(result, stop);
            break;
        case CliCommand::Verify:
            check(result, JobPhase::Verify, m_order.image, BoardResult::Kind::Mismatch);
            break;
        case CliCommand::Blank:
            blankCheck(result);
            break;
        case CliCommand::Erase:
            erase(result, stop);
            break;
    }
    m_link.setObserver(previous);
    result.elapsed = m_link.clock().now() - start;
    return result;
}

void BoardJob::progressed(const AccessProgress& progress)
{
    if (m_progress) m_progress(m_phase, progress.done, progress.total);
}

void BoardJob::take(BoardResult& result, const AccessOutcome& outcome)
{
    result.access = outcome;
    result.kind = resultKindOf(outcome.kind);
    if (outcome.kind != AccessOutcome::Kind::PortUnusable) return;
    result.portFailure = m_link.port().openFailure();
    if (result.portFailure.kind != PortOpenFailure::Kind::InUse) return;
    // Only now, since looking through every process's open files takes a while.
    if (const std::optional<PortHolders::Holder> holder =
            PortHolders().holderOf(m_settings.devicePath)) {
        result.holder = PortHolders::describe(*holder);
    }
}

void BoardJob::detect(BoardResult& result)
{
    if (!m_link.begin(QString())) {
        result.kind = BoardResult::Kind::Refused;
        return;
    }
    const AccessOutcome outcome = m_link.Read_Version(m_settings);
    m_link.end();
    take(result, outcome);
}

void BoardJob::read(BoardResult& result)
{
    MemoryImage image;
    image.recreate(m_order.device.memorySize());
    const AccessOutcome outcome =
        m_transfer.read(m_settings, m_order.range.request(m_order.device), image);
    take(result, outcome);
    result.bytes = outcome.bytesDone;
    if (outcome.succeeded()) result.image = image.bytes();
}

void BoardJob::write(BoardResult& result, const std::atomic<bool>& stop)
{
    const AccessOutcome outcome =
        m_transfer.write(m_settings, m_order.range.request(m_order.device), m_order.image);
    take(result, outcome);
    result.bytes = outcome.bytesDone;
    result.writtenTo = outcome.lastAddressDone();
    if (!outcome.succeeded() || !m_order.verifyAfter) return;
    if (stop) {
        result.phase = JobPhase::Verify;
        result.kind = BoardResult::Kind::Cancelled;
        return;
    }
    check(result, JobPhase::Verify, m_order.image, BoardResult::Kind::Mismatch);
    result.bytes = outcome.bytesDone;
}

void BoardJob::erase(BoardResult& result, const std::atomic<bool>& stop)
{
    const AccessOutcome outcome =
        m_order.range.wholePart
            ? m_operations.erase(m_settings, m_order.device)
            : m_transfer.write(m_settings, m_order.range.request(m_order.device),
                               blankImage(m_order.device.memorySize()));
    take(result, outcome);
    result.bytes = outcome.bytesDone;
    result.writtenTo = outcome.lastAddressDone();
    if (!outcome.succeeded() || !m_order.verifyAfter) return;
    if (stop) {
        result.phase = JobPhase::BlankCheck;
        result.kind = BoardResult::Kind::Cancelled;
        return;
    }
    blankCheck(result);
    result.bytes = outcome.bytesDone;
}

void BoardJob::blankCheck(BoardResult& result)
{
    if (!m_order.range.wholePart) {
        check(result, JobPhase::BlankCheck, blankImage(m_order.device.memorySize()),
              BoardResult::Kind::NotBlank);
        return;
    }
    m_phase = result.phase = JobPhase::BlankCheck;
    const CheckOutcome outcome = m_operations.blankCheck(m_settings, m_order.device);
    take(result, outcome.access);
    result.bytes = outcome.access.bytesDone;
    if (!outcome.access.succeeded()) return;
    result.comparison = outcome.comparison;
    if (!outcome.comparison.matches()) result.kind = BoardResult::Kind::NotBlank;
}

void BoardJob::check(BoardResult& result, JobPhase phase, const QByteArray& expected,
                     BoardResult::Kind onDifference)
{
    m_phase = result.phase = phase;
    const CheckOutcome outcome =
        m_operations.verify(m_settings, m_order.range.request(m_order.device), expected);
    take(result, outcome.access);
    result.bytes = outcome.access.bytesDone;
    if (!outcome.access.succeeded()) return;
    result.comparison = outcome.comparison;
    if (!outcome.comparison.matches()) result.kind = onDifference;
}
