#include "cli/BoardJob.h"

#include "cli/ChipJobResult.h"

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
    order.reads = m_order.reads;
    order.backupFolder = m_order.backupFolder;
    order.partName = m_order.partName;
    order.changedOnly = m_order.changedOnly;
    return order;
}

BoardResult BoardJob::run(const std::atomic<bool>& stop)
{
    BoardResult result;
    result.link = m_settings;
    result.command = m_order.command;
    result.partName = m_order.partName;
    result.verifyAfter = m_order.verifyAfter;
    result.changedOnly = m_order.changedOnly;
    take(result, m_job.run(chipOrder(), stop));
    if (m_order.command == CliCommand::Read && result.succeeded()) {
        result.checksums = ImageChecksums::of(result.image);
    } else if (m_order.command == CliCommand::Write || m_order.command == CliCommand::Verify) {
        result.checksums = ImageChecksums::of(m_order.image);
    }
    return result;
}

void BoardJob::progressed(const AccessProgress& progress)
{
    if (m_progress) m_progress(m_step, progress.done, progress.total);
}

void BoardJob::take(BoardResult& result, const ChipJobOutcome& job)
{
    takeChipJobOutcome(result, job);
}
