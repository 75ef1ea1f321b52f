#include "production/ProductionRound.h"

#include "jobs/ChipJob.h"
#include "link/ProgrammerLink.h"
#include "link/StoppedWrites.h"
#include "production/LineDatabase.h"
#include "production/RoundObserver.h"
#include "production/SerialPatch.h"

#include <chrono>

namespace {

// How the chip ended, from the chip job's facts. Nothing reached the chip when no chunk of
// data was handed to the board: a chunk is programmed only once all of it has arrived.
ChipOutcome outcomeOf(const ChipJobOutcome& job, bool verify)
{
    ChipOutcome outcome;
    const std::optional<AccessOutcome> written = job.writeStep();
    outcome.board = job.access.identification;
    if (outcome.board.isEmpty() && written) outcome.board = written->identification;
    if (job.writtenTo() >= 0) outcome.writtenTo = job.writtenTo();
    outcome.duration = std::chrono::duration_cast<std::chrono::milliseconds>(job.elapsed);
    if (job.succeeded()) {
        outcome.result = verify ? ChipResult::Verified : ChipResult::Written;
    } else if (job.access.succeeded() && job.comparison && !job.comparison->first.isEmpty()) {
        const ByteDifference& first = job.comparison->first.first();
        outcome.result = ChipResult::Mismatch;
        outcome.mismatch = FirstMismatch{first.address, first.expected, first.actual};
    } else {
        outcome.result = outcome.writtenTo ? ChipResult::Failed : ChipResult::NotWritten;
    }
    return outcome;
}

// The record as the log would hold it, for a chip whose outcome did not reach the log.
ChipRecord unrecorded(const RoundOrder& order, const LineDatabase& database,
                      const LinkSettings& board)
{
    ChipRecord record;
    record.station = database.station();
    record.port = board.devicePath;
    record.part = order.job.partName;
    record.job = order.job.name;
    record.jobSha256 = order.job.sha256;
    record.imageSha256 = order.job.imageSha256;
    record.result = ChipResult::NotWritten;
    record.numbers = NumberFate::Returned;
    return record;
}

}  // namespace

RoundResult ProductionRound::run(const RoundOrder& order, const LinkSettings& board,
                                 const std::atomic<bool>& stop)
{
    RoundResult result;
    result.link = board;
    result.record = unrecorded(order, m_database, board);
    if (stop) return result;

    const ProductionJob& job = order.job;
    const ChipAllocation allocation = m_database.allocate(job, board.devicePath);
    if (!allocation.ok()) {
        result.kind = RoundResult::Kind::NoNumbers;
        result.lineFailure = allocation.failure;
        return result;
    }
    result.record.id = allocation.chip;
    result.record.serials = allocation.values;
    result.record.numbers = NumberFate::Taken;
    if (m_observer) m_observer->numbersTaken(allocation);

    ChipOutcome outcome;
    outcome.result = ChipResult::NotWritten;
    // A checked job fits every value it can issue, so the patch fails only on a fault here;
    // then nothing is sent and the numbers go back.
    const SerialPatch patch = patchSerials(job, allocation.values);
    if (patch.ok()) {
        ChipJobOrder write;
        write.kind = ChipJobOrder::Kind::Write;
        write.link = board;
        write.request.mode = AccessMode::Block;
        write.request.device = order.device;
        write.request.offset = job.offset;
        write.request.accessSize = job.length;
        write.image = patch.image;
        write.checkAfter = job.verify;
        ChipJob chipJob(m_link);
        const StoppedWrites stoppedWrites(order.stoppedWritesFolder);
        if (!order.stoppedWritesFolder.isEmpty()) chipJob.setStoppedWrites(&stoppedWrites);
        chipJob.setObserver(m_observer);
        result.chip = chipJob.run(write, stop);
        outcome = outcomeOf(result.chip, job.verify);
    }

    const ChipRecording recording = m_database.record(allocation.chip, outcome, job.onFailure);
    if (recording.ok()) {
        result.kind = RoundResult::Kind::Recorded;
        result.record = recording.record;
        return result;
    }
    result.kind = RoundResult::Kind::NotRecorded;
    result.lineFailure = recording.failure;
    result.record.result = outcome.result;
    result.record.board = outcome.board;
    result.record.mismatch = outcome.mismatch;
    result.record.writtenTo = outcome.writtenTo;
    result.record.duration = outcome.duration;
    return result;
}
