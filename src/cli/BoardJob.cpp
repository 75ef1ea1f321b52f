#include "cli/BoardJob.h"

namespace {

ChipJobOrder::Kind jobKind(CliCommand command)
{
    switch (command) {
        case CliCommand::List:
        case CliCommand::Detect:
            return ChipJobOrder::Kind::Detect;
        case CliCommand::Read:
            return ChipJobOrder::Kind::Read;
        case CliCommand::Write:
            return ChipJobOrder::Kind::Write;
        case CliCommand::Verify:
            return ChipJobOrder::Kind::Verify;
        case CliCommand::Blank:
            return ChipJobOrder::Kind::BlankCheck;
        case CliCommand::Erase:
            return ChipJobOrder::Kind::Erase;
    }
    return ChipJobOrder::Kind::Detect;
}

}  // namespace

BoardJob::BoardJob(ProgrammerLink& link, const JobOrder& order, const LinkSettings& settings)
    : m_link(link),
      m_stoppedWrites(order.claimFolder),
      m_job(link),
      m_order(order),
      m_settings(settings)
{
    m_job.setObserver(this);
    if (!order.claimFolder.isEmpty()) m_job.setStoppedWrites(&m_stoppedWrites);
}

ChipJobOrder BoardJob::chipOrder() const
{
    ChipJobOrder order;
    order.kind = jobKind(m_order.command);
    order.link = m_settings;
    if (order.kind != ChipJobOrder::Kind::Detect) {
        order.request = m_order.range.request(m_order.device);
    }
    order.image = m_order.image;
    order.checkAfter = m_order.verifyAfter;
    return order;
}

BoardResult BoardJob::run(const std::atomic<bool>& stop)
{
    BoardResult result;
    result.link = m_settings;
    result.command = m_order.command;
    result.partName = m_order.partName;
    result.verifyAfter = m_order.verifyAfter;
    take(result, m_job.run(chipOrder(), stop));
    return result;
}

void BoardJob::progressed(const AccessProgress& progress)
{
    if (m_progress) m_progress(m_step, progress.done, progress.total);
}

void BoardJob::take(BoardResult& result, const ChipJobOutcome& job)
{
    const AccessOutcome& outcome = job.access;
    result.phase = job.step;
    result.access = outcome;
    result.elapsed = job.elapsed;
    result.comparison = job.comparison;
    result.kind = resultKindOf(outcome.kind);
    if (result.kind == BoardResult::Kind::Done && job.comparison && !job.comparison->matches()) {
        result.kind = job.step == ChipStep::BlankCheck ? BoardResult::Kind::NotBlank
                                                       : BoardResult::Kind::Mismatch;
    }
    const std::optional<AccessOutcome> written = job.writeStep();
    result.bytes = written ? written->bytesDone : outcome.bytesDone;
    result.writtenTo = job.writtenTo();
    result.earlierStoppedWrite = job.earlierStoppedWrite;
    if (job.step == ChipStep::Read && outcome.succeeded()) result.image = job.chip;

    if (outcome.kind != AccessOutcome::Kind::PortUnusable) return;
    result.portFailure = outcome.portFailure;
    result.holder = outcome.portFailure.holder;
}
