#include "cli/ChipJobResult.h"

void takeChipJobOutcome(BoardResult& result, const ChipJobOutcome& job)
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
