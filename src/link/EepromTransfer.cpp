#include "link/EepromTransfer.h"

#include "image/MemoryImage.h"
#include "link/AccessObserver.h"
#include "link/ProgrammerLink.h"
#include "link/SerialPort.h"

namespace {

constexpr char kNextRequest = '@';
constexpr char kReady = '@';

// Marks a write as running for as long as it is in scope.
class WritingScope {
public:
    explicit WritingScope(bool& writing) : m_writing(writing) { m_writing = true; }
    ~WritingScope() { m_writing = false; }
    WritingScope(const WritingScope&) = delete;
    WritingScope& operator=(const WritingScope&) = delete;

private:
    bool& m_writing;
};

}  // namespace

AccessOutcome EepromTransfer::read(const LinkSettings& link, const TransferRequest& request,
                                   MemoryImage& target)
{
    return runPlanned(request, target.size(), false,
                      [&](const TransferPlan& plan) { return Eep_Read(link, plan, target); });
}

AccessOutcome EepromTransfer::write(const LinkSettings& link, const TransferRequest& request,
                                    const QByteArray& source)
{
    return runPlanned(request, source.size(), true,
                      [&](const TransferPlan& plan) { return Eep_Write(link, plan, source); });
}

AccessOutcome EepromTransfer::runPlanned(
    const TransferRequest& request, qint64 imageSize, bool write,
    const std::function<AccessOutcome(const TransferPlan&)>& transfer)
{
    const TransferPlanResult planned = planTransfer(request, imageSize);
    AccessOutcome refused = planned.refusedOutcome();
    refused.write = write;
    if (!planned.plan) return refused;
    if (!m_link.begin()) {
        refused.refusal = AccessOutcome::Refusal::Busy;
        return refused;
    }
    AccessOutcome outcome = transfer(*planned.plan);
    m_link.end();
    return outcome;
}

AccessOutcome EepromTransfer::Eep_Read(const LinkSettings& link, const TransferPlan& plan,
                                       MemoryImage& target)
{
    LinkClock& clock = m_link.clock();
    SerialPort& port = m_link.port();
    clock.pumpEvents();
    if (auto failure = open(link, plan, readLetter(plan.commandVariant), true)) return *failure;

    std::int64_t current = plan.start;
    do {
        // A stop asked for while the last chunk came in takes effect before the next one.
        if (m_link.cancelled())
            return failed(AccessOutcome::Kind::Cancelled, plan, current - plan.start);
        m_link.Wait_Input(plan.chunkCount, ProgrammerLink::kReplyLimit);
        if (m_link.TimeOutFlag() == 1) return failed(waitFailure(), plan, current - plan.start);
        // Bytes past the chunk are dropped: the board sends the next chunk only after "@".
        const QByteArray chunk = m_link.takeReceived();
        for (int i = 0; i < plan.chunkCount; ++i) {
            if (i >= chunk.size() || !target.contains(current)) {
                m_link.setTimeOutFlag(1);
                return failed(AccessOutcome::Kind::BadReply, plan, current - plan.start);
            }
            target.set(current, static_cast<std::uint8_t>(chunk.at(i)));
            ++current;
        }
        clock.pumpEvents();
        port.discard();
        m_link.send(QByteArray(1, kNextRequest));
        reportProgress(current, plan);
    } while (current <= plan.end);

    return outcome(AccessOutcome::Kind::Done, plan, current - plan.start);
}

AccessOutcome EepromTransfer::Eep_Write(const LinkSettings& link, const TransferPlan& plan,
                                        const QByteArray& source)
{
    const WritingScope writing(m_writing);
    LinkClock& clock = m_link.clock();
    if (auto failure = open(link, plan, writeLetter(plan.commandVariant), false)) return *failure;

    std::int64_t current = plan.start;
    do {
        clock.pumpEvents();
        if (m_link.cancelled())
            return failed(AccessOutcome::Kind::Cancelled, plan, current - plan.start);
        m_link.Wait_Input(1, ProgrammerLink::kReplyLimit);
        if (m_link.TimeOutFlag() == 1) return failed(waitFailure(), plan, current - plan.start);
        const QByteArray ready = m_link.takeReceived();
        if (ready.isEmpty() || ready.at(0) != kReady || current + plan.chunkCount > source.size()) {
            m_link.setTimeOutFlag(1);
            return failed(AccessOutcome::Kind::BadReply, plan, current - plan.start);
        }
        m_link.send(source.mid(current, plan.chunkCount));
        current += plan.chunkCount;
        reportProgress(current, plan);
    } while (current <= plan.end);
    // The board answers the last chunk once it is programmed. Taking that answer here keeps it
    // out of the next access's identification, which may follow at once (a verify does).
    if (m_link.awaitBytes(1, ProgrammerLink::kLastChunkLimit)) {
        Q_UNUSED(m_link.takeReceived());
    }

    return outcome(AccessOutcome::Kind::Done, plan, current - plan.start);
}

std::optional<AccessOutcome> EepromTransfer::open(const LinkSettings& link,
                                                  const TransferPlan& plan, char letter,
                                                  bool reading)
{
    LinkClock& clock = m_link.clock();
    m_opStartTime = clock.now();
    m_link.setTimeOutFlag(0);
    m_settings = link;
    m_identification.clear();
    m_rangeSent = false;
    AccessOutcome detection = m_link.Read_Version(link);
    detection.write = !reading;
    detection.firstAddress = plan.start;
    detection.bytesPlanned = plan.chunkedByteCount();
    detection.elapsed = clock.now() - m_opStartTime;
    if (!detection.succeeded()) return detection;
    m_identification = detection.identification;
    // A read lets the window repaint between the steps; a write goes straight on.
    if (reading) clock.pumpEvents();
    m_link.Eep_Prepare(plan.family);
    if (m_link.cancelled() || m_link.lineLost()) return failed(waitFailure(), plan, 0);
    m_link.Send_Access_Header(plan.family, letter);
    m_link.sendAddressPackets(plan, reading);
    m_rangeSent = true;
    return std::nullopt;
}

AccessOutcome EepromTransfer::outcome(AccessOutcome::Kind kind, const TransferPlan& plan,
                                      qint64 done) const
{
    AccessOutcome result;
    result.kind = kind;
    result.write = m_writing;
    result.identification = m_identification;
    result.firstAddress = plan.start;
    result.bytesDone = done;
    result.bytesPlanned = plan.chunkedByteCount();
    result.rangeSent = m_rangeSent;
    result.elapsed = m_link.clock().now() - m_opStartTime;
    return result;
}

AccessOutcome::Kind EepromTransfer::waitFailure() const
{
    if (m_link.cancelled()) return AccessOutcome::Kind::Cancelled;
    if (m_link.lineLost()) return AccessOutcome::Kind::LineLost;
    return AccessOutcome::Kind::TimedOut;
}

AccessOutcome EepromTransfer::failed(AccessOutcome::Kind kind, const TransferPlan& plan,
                                     qint64 done)
{
    m_link.setTimeOutFlag(1);
    if (kind == AccessOutcome::Kind::LineLost && m_link.observer()) {
        m_link.observer()->boardNotConnected(m_settings);
    }
    return outcome(kind, plan, done);
}

void EepromTransfer::reportProgress(qint64 current, const TransferPlan& plan)
{
    AccessObserver* observer = m_link.observer();
    if (!observer) return;
    AccessProgress progress;
    progress.done = current - plan.start;
    progress.total = plan.chunkedByteCount();
    progress.percent = progressPercent(current, plan.start, plan.end);
    observer->progressed(progress);
}
