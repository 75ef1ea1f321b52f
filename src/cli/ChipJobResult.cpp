#include "cli/ChipJobResult.h"

#include "cli/FileTexts.h"

void takeChipJobOutcome(BoardResult& result, const ChipJobOutcome& job)
{
    const AccessOutcome& outcome = job.access;
    result.phase = job.step;
    result.access = outcome;
    result.elapsed = job.elapsed;
    result.comparison = job.comparison;
    result.kind = resultKindOf(outcome.kind);
    if (result.kind == BoardResult::Kind::Done && job.agreement && !job.agreement->decided()) {
        result.kind = BoardResult::Kind::ReadsDiffer;
    } else if (result.kind == BoardResult::Kind::Done && job.backup && !job.backup->saved()) {
        result.kind = BoardResult::Kind::FileError;
        result.fileError = fileWriteFailureText(job.backup->failure);
    } else if (result.kind == BoardResult::Kind::Done && job.comparison &&
               !job.comparison->matches()) {
        result.kind = job.step == ChipStep::BlankCheck ? BoardResult::Kind::NotBlank
                                                       : BoardResult::Kind::Mismatch;
    }
    const std::optional<AccessOutcome> written = job.writeStep();
    result.bytes = written ? job.bytesWritten : outcome.bytesDone;
    result.writtenTo = job.writtenTo();
    result.earlierStoppedWrite = job.earlierStoppedWrite;
    if (job.step == ChipStep::Read && job.succeeded()) result.image = job.chip;
    if (job.agreement && !job.agreement->unanimous()) result.agreement = job.agreement;
    result.backup = job.backup;
    result.bytesWritten = job.bytesWritten;
    result.writeAccesses = static_cast<int>(job.spans.size());
    result.chipHeldImage = job.chipHeldImage;
    result.allBlank = job.readAllBlank();

    if (outcome.kind != AccessOutcome::Kind::PortUnusable) return;
    result.portFailure = outcome.portFailure;
    result.holder = outcome.portFailure.holder;
}
