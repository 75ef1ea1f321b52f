#pragma once

#include "cli/BoardResult.h"
#include "cli/JobOrder.h"
#include "jobs/ChipJob.h"
#include "jobs/ChipJobObserver.h"
#include "link/LinkSettings.h"

#include <atomic>
#include <functional>

class ProgrammerLink;

// One board's part of a command, on a link of its own: the command's chip job and the result
// the report words. A stop request ends the running access at its next chunk boundary (through
// the link's cancel) and keeps the next access from starting.
class BoardJob : public ChipJobObserver {
public:
    using ProgressHandler = std::function<void(ChipStep step, qint64 done, qint64 total)>;

    BoardJob(ProgrammerLink& link, const JobOrder& order, const LinkSettings& settings);

    void setProgressHandler(ProgressHandler handler) { m_progress = std::move(handler); }

    // Runs the job on the link's thread. `stop` may be set from any thread.
    [[nodiscard]] BoardResult run(const std::atomic<bool>& stop);

    void stepStarted(ChipStep step) override { m_step = step; }
    void progressed(const AccessProgress& progress) override;

private:
    [[nodiscard]] ChipJobOrder chipOrder() const;
    void take(BoardResult& result, const ChipJobOutcome& job);

    ProgrammerLink& m_link;
    StoppedWrites m_stoppedWrites;
    ChipJob m_job;
    JobOrder m_order;
    LinkSettings m_settings;
    ChipStep m_step = ChipStep::Detect;
    ProgressHandler m_progress;
};
