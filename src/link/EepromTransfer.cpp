#include "link/EepromTransfer.h"

#include "base/HexText.h"
#include "base/TranslatableText.h"
#include "image/MemoryImage.h"
#include "link/AccessObserver.h"
#include "link/ProgrammerLink.h"
#include "link/SerialPort.h"

#include <QCoreApplication>

namespace {

constexpr TranslatableText kReadErrorText{"EepromTransfer",
                                          QT_TRANSLATE_NOOP("EepromTransfer", "  リードエラー")};
constexpr TranslatableText kWriteErrorText{"EepromTransfer",
                                           QT_TRANSLATE_NOOP("EepromTransfer", " ライトエラー")};
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

AccessOutcome EepromTransfer::refusedOutcome(const TransferPlanResult& planned) const
{
    AccessOutcome outcome;
    outcome.kind = AccessOutcome::Kind::Refused;
    outcome.refusal = planned.refusal;
    outcome.text = planned.refusalText;
    return outcome;
}

AccessOutcome EepromTransfer::read(const LinkSettings& link, const TransferRequest& request,
                                   MemoryImage& target, const QString& statusText)
{
    return runPlanned(request, target.size(), statusText,
                      [&](const TransferPlan& plan) { return Eep_Read(link, plan, target); });
}

AccessOutcome EepromTransfer::write(const LinkSettings& link, const TransferRequest& request,
                                    const QByteArray& source, const QString& statusText)
{
    return runPlanned(request, source.size(), statusText,
                      [&](const TransferPlan& plan) { return Eep_Write(link, plan, source); });
}

AccessOutcome EepromTransfer::runPlanned(
    const TransferRequest& request, qint64 imageSize, const QString& statusText,
    const std::function<AccessOutcome(const TransferPlan&)>& transfer)
{
    const TransferPlanResult planned = planTransfer(request, imageSize);
    if (!planned.plan) return refusedOutcome(planned);
    if (!m_link.begin(statusText)) {
        return refusedOutcome({std::nullopt, AccessOutcome::Refusal::Busy, {}});
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
    if (auto failure = open(link, plan, readLetter(plan.commandVariant), kReadErrorText, true)) {
        return *failure;
    }

    std::int64_t current = plan.start;
    do {
        // A stop asked for while the last chunk came in takes effect before the next one.
        if (m_link.cancelled()) return cancelled(plan, current - plan.start);
        m_link.Wait_Input(plan.chunkCount, ProgrammerLink::kReplyLimit);
        if (m_link.TimeOutFlag() == 1) {
            return failed(waitFailure(), kReadErrorText, plan, current - plan.start);
        }
        // The board sends the next chunk only after "@": any byte beyond the chunk is noise,
        // and which of the bytes are the data can no longer be told.
        const QByteArray chunk = m_link.takeReceived();
        if (chunk.size() != plan.chunkCount || !target.contains(current + plan.chunkCount - 1)) {
            m_link.setTimeOutFlag(1);
            return failed(AccessOutcome::Kind::BadReply, kReadErrorText, plan,
                          current - plan.start);
        }
        for (int i = 0; i < plan.chunkCount; ++i) {
            target.set(current, static_cast<std::uint8_t>(chunk.at(i)));
            ++current;
        }
        clock.pumpEvents();
        if (port.receivedCount() > 0) {
            m_link.setTimeOutFlag(1);
            return failed(AccessOutcome::Kind::BadReply, kReadErrorText, plan,
                          current - plan.start);
        }
        m_link.send(QByteArray(1, kNextRequest));
        reportProgress(current, plan);
    } while (current <= plan.end);

    return finished(plan, current,
                    QCoreApplication::translate("EepromTransfer", "読み出し終了。 ("));
}

AccessOutcome EepromTransfer::Eep_Write(const LinkSettings& link, const TransferPlan& plan,
                                        const QByteArray& source)
{
    const WritingScope writing(m_writing);
    LinkClock& clock = m_link.clock();
    if (auto failure = open(link, plan, writeLetter(plan.commandVariant), kWriteErrorText, false)) {
        return *failure;
    }

    std::int64_t current = plan.start;
    do {
        clock.pumpEvents();
        if (m_link.cancelled()) return cancelled(plan, current - plan.start);
        m_link.Wait_Input(1, ProgrammerLink::kReplyLimit);
        if (m_link.TimeOutFlag() == 1) {
            return failed(waitFailure(), kWriteErrorText, plan, current - plan.start);
        }
        const QByteArray ready = m_link.takeReceived();
        if (ready.isEmpty() || ready.at(0) != kReady || current + plan.chunkCount > source.size()) {
            m_link.setTimeOutFlag(1);
            return failed(AccessOutcome::Kind::BadReply, kWriteErrorText, plan,
                          current - plan.start);
        }
        m_link.send(source.mid(current, plan.chunkCount));
        current += plan.chunkCount;
        reportProgress(current, plan);
    } while (current <= plan.end);
    // Nothing is promised after the last chunk; an answer that some boards give anyway is left
    // to the next detection, unless it could come too late for that (ProgrammerLink).
    const LinkClock::Duration answerLimit = ProgrammerLink::lastChunkAnswerLimit(plan);
    if (answerLimit > LinkClock::Duration::zero() && m_link.awaitBytes(1, answerLimit)) {
        Q_UNUSED(m_link.takeReceived());
    }

    return finished(plan, current,
                    QCoreApplication::translate("EepromTransfer", "書き込み終了。 ("));
}

std::optional<AccessOutcome> EepromTransfer::open(const LinkSettings& link,
                                                  const TransferPlan& plan, char letter,
                                                  const QString& errorText, bool reading)
{
    LinkClock& clock = m_link.clock();
    m_opStartTime = clock.now();
    m_link.setTimeOutFlag(0);
    m_settings = link;
    m_identification.clear();
    AccessOutcome detection = m_link.Read_Version(link);
    if (detection.kind == AccessOutcome::Kind::Cancelled) return cancelled(plan, 0);
    if (!detection.succeeded()) return detection;
    m_identification = detection.identification;
    // A read lets the window repaint between the steps; a write goes straight on.
    if (reading) clock.pumpEvents();
    m_link.Eep_Prepare(plan.family);
    if (m_link.cancelled() || m_link.lineLost()) return failed(waitFailure(), errorText, plan, 0);
    m_link.Send_Access_Header(plan.family, letter);
    m_link.sendAddressPackets(plan, reading);
    return std::nullopt;
}

AccessOutcome EepromTransfer::finished(const TransferPlan& plan, qint64 current,
                                       const QString& prefix)
{
    AccessOutcome outcome;
    outcome.identification = m_identification;
    outcome.firstAddress = plan.start;
    outcome.bytesDone = current - plan.start;
    outcome.elapsed = m_link.clock().now() - m_opStartTime;
    outcome.text = elapsedText(prefix, outcome.elapsed);
    return outcome;
}

AccessOutcome::Kind EepromTransfer::waitFailure() const
{
    if (m_link.cancelled()) return AccessOutcome::Kind::Cancelled;
    if (m_link.lineLost()) return AccessOutcome::Kind::LineLost;
    return AccessOutcome::Kind::TimedOut;
}

AccessOutcome EepromTransfer::failed(AccessOutcome::Kind kind, const QString& errorText,
                                     const TransferPlan& plan, qint64 done)
{
    if (kind == AccessOutcome::Kind::Cancelled) return cancelled(plan, done);
    if (kind == AccessOutcome::Kind::LineLost && m_link.observer()) {
        m_link.observer()->boardNotConnected(m_settings);
    }
    m_link.setStatusText(m_link.statusText() + errorText);
    AccessOutcome outcome;
    outcome.kind = kind;
    outcome.text = m_link.statusText();
    outcome.identification = m_identification;
    outcome.firstAddress = plan.start;
    outcome.bytesDone = done;
    outcome.elapsed = m_link.clock().now() - m_opStartTime;
    return outcome;
}

AccessOutcome EepromTransfer::cancelled(const TransferPlan& plan, qint64 done)
{
    AccessOutcome outcome;
    outcome.kind = AccessOutcome::Kind::Cancelled;
    outcome.identification = m_identification;
    outcome.firstAddress = plan.start;
    outcome.bytesDone = done;
    outcome.elapsed = m_link.clock().now() - m_opStartTime;
    outcome.text = cancelledText(m_writing, outcome.lastAddressDone());
    m_link.setTimeOutFlag(1);
    m_link.setStatusText(outcome.text);
    return outcome;
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

QString EepromTransfer::cancelledText(bool write, qint64 lastAddressWritten)
{
    const QString stopped = QCoreApplication::translate("EepromTransfer", "中止しました。");
    if (!write) return stopped;
    if (lastAddressWritten < 0)
        return stopped +
               QCoreApplication::translate("EepromTransfer", " (チップには何も書き込んでいません)");
    return stopped +
           QCoreApplication::translate("EepromTransfer", " (チップは 0x%1 まで書き込み済みです)")
               .arg(hexText(static_cast<quint32>(lastAddressWritten), 5));
}

QString EepromTransfer::elapsedText(const QString& prefix, LinkClock::Duration elapsed)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    return prefix + QString::number(seconds < 0 ? 0 : seconds) + QStringLiteral("sec)");
}
