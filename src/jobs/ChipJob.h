#pragma once

#include "jobs/ChipJobOrder.h"
#include "jobs/ChipJobOutcome.h"
#include "link/EepromTransfer.h"
#include "link/StoppedWrites.h"

#include <QDateTime>

#include <atomic>
#include <functional>

class ChipJobObserver;
class ProgrammerLink;

// The sequences of accesses every front-end runs on a chip, written once: a read, a write and
// its verify, a verify, a blank check, an erase and its blank check; each read made as many
// times as the order asks and compared, and a block write or erase preceded, when asked, by a
// saved backup of the part and a read that leaves out the chunks the chip already holds. Reads
// go into a scratch image and nothing here changes the caller's memory image. A stop request
// (the `stop` flag, with the link's cancel to end the running access at its next chunk) keeps
// the next access from starting.
class ChipJob {
public:
    using WallClock = std::function<QDateTime()>;

    explicit ChipJob(ProgrammerLink& link) : m_link(link), m_transfer(link) {}

    // Where progress and the steps go while a job runs; none by default.
    void setObserver(ChipJobObserver* observer) { m_observer = observer; }
    // Where writes that stopped inside their range are kept; none by default.
    void setStoppedWrites(const StoppedWrites* stoppedWrites) { m_stoppedWrites = stoppedWrites; }
    // The local time a backup file is named after; the system's by default.
    void setWallClock(WallClock wallClock) { m_wallClock = std::move(wallClock); }

    // Runs `order` on the calling thread, the link's. `stop` may be set from any thread.
    [[nodiscard]] ChipJobOutcome run(const ChipJobOrder& order, const std::atomic<bool>& stop);
    [[nodiscard]] ChipJobOutcome run(const ChipJobOrder& order);

    // A write is running: stopping it now leaves the part partly written.
    [[nodiscard]] bool writing() const { return m_transfer.writing(); }

private:
    void runSteps(const ChipJobOrder& order, const std::atomic<bool>& stop, ChipJobOutcome& result);
    void detect(const ChipJobOrder& order, ChipJobOutcome& result);
    // Reads `request` order.reads times into images of `imageSize` bytes and keeps what they
    // agree on in result.chip. False when an access failed or the reads have no agreed bytes.
    bool read(ChipStep step, const ChipJobOrder& order, const TransferRequest& request,
              qint64 imageSize, const std::atomic<bool>& stop, ChipJobOutcome& result);
    // A write or erase of `bytes`: the backup and the read before it when the order asks for
    // them, the spans, and the check after.
    void overwrite(ChipStep step, ChipStep checkStep, const ChipJobOrder& order,
                   const QByteArray& bytes, const std::atomic<bool>& stop, ChipJobOutcome& result);
    // The read before a block write: saved as the backup when asked. False when the job ends.
    bool readBefore(const ChipJobOrder& order, qint64 imageSize, const std::atomic<bool>& stop,
                    ChipJobOutcome& result);
    void writeSpans(ChipStep step, const ChipJobOrder& order, const QByteArray& bytes,
                    const std::atomic<bool>& stop, ChipJobOutcome& result);
    // A read-back of the range compared with `expected` (0xFF everywhere for a blank check).
    void check(ChipStep step, const ChipJobOrder& order, const QByteArray& expected,
               const std::atomic<bool>& stop, ChipJobOutcome& result);
    // After a write: the read-back, unless a stop came first.
    void checkWritten(ChipStep step, const ChipJobOrder& order, const QByteArray& expected,
                      const std::atomic<bool>& stop, ChipJobOutcome& result);
    void started(ChipStep step, ChipJobOutcome& result);
    void finished(ChipStep step, const AccessOutcome& outcome, ChipJobOutcome& result);
    // Keeps or clears the record of a stopped write on the job's port after each access.
    void noteBoardState(const QString& devicePath, const AccessOutcome& outcome,
                        ChipJobOutcome& result) const;

    ProgrammerLink& m_link;
    EepromTransfer m_transfer;
    ChipJobObserver* m_observer = nullptr;
    const StoppedWrites* m_stoppedWrites = nullptr;
    WallClock m_wallClock = [] { return QDateTime::currentDateTime(); };
    QString m_devicePath;  // the running job's port
};
