#pragma once

#include "cli/BoardResult.h"
#include "cli/JobOrder.h"
#include "link/AccessObserver.h"
#include "link/ChipOperations.h"
#include "link/EepromTransfer.h"
#include "link/LinkSettings.h"

#include <atomic>
#include <functional>

class ProgrammerLink;

// One board's part of a command, on a link of its own: its accesses in order (a write and its
// verify, an erase and its blank check). A stop request ends the running access at its next
// chunk boundary (through the link's cancel) and keeps the next access from starting.
class BoardJob : public AccessObserver {
public:
    using ProgressHandler = std::function<void(JobPhase phase, qint64 done, qint64 total)>;

    BoardJob(ProgrammerLink& link, const JobOrder& order, const LinkSettings& settings);

    void setProgressHandler(ProgressHandler handler) { m_progress = std::move(handler); }

    // Runs the job on the link's thread. `stop` may be set from any thread.
    [[nodiscard]] BoardResult run(const std::atomic<bool>& stop);

    void progressed(const AccessProgress& progress) override;

private:
    void detect(BoardResult& result);
    void read(BoardResult& result);
    void write(BoardResult& result, const std::atomic<bool>& stop);
    void erase(BoardResult& result, const std::atomic<bool>& stop);
    // A read-back: the whole part or the range, compared with `expected`.
    void check(BoardResult& result, JobPhase phase, const QByteArray& expected,
               BoardResult::Kind onDifference);
    void blankCheck(BoardResult& result);
    void take(BoardResult& result, const AccessOutcome& outcome);

    ProgrammerLink& m_link;
    EepromTransfer m_transfer;
    ChipOperations m_operations;
    JobOrder m_order;
    LinkSettings m_settings;
    JobPhase m_phase = JobPhase::Detect;
    ProgressHandler m_progress;
};
