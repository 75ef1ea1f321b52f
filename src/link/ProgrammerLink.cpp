#include "link/ProgrammerLink.h"

#include "base/HexText.h"
#include "base/NumberText.h"
#include "link/AccessObserver.h"
#include "link/AccessPackets.h"
#include "link/LinkLog.h"
#include "link/LinkSettings.h"
#include "link/SerialPort.h"
#include "link/TransferPlan.h"

#include <algorithm>

namespace {

constexpr int kIdentificationLength = 15;
constexpr int kVersionLength = 4;
const QString kBoardName = QStringLiteral("QZ-PGM");

QString lineText(const QByteArray& bytes)
{
    QString text;
    for (const char byte : bytes) {
        if (!text.isEmpty()) text += QLatin1Char(' ');
        text += hexText(static_cast<quint8>(byte), 2);
    }
    return text;
}

}  // namespace

ProgrammerLink::ProgrammerLink(SerialPort& port, LinkClock& clock) : m_port(port), m_clock(clock) {}

bool ProgrammerLink::begin()
{
    if (m_running) return false;
    m_running = true;
    m_cancelled = false;
    m_timeOutFlag = 0;
    return true;
}

void ProgrammerLink::end()
{
    if (m_port.isOpen()) m_port.close();
    m_running = false;
}

void ProgrammerLink::Wait_Input(int minimum, LinkClock::Duration limit)
{
    if (awaitBytes(minimum, limit)) return;
    m_timeOutFlag = 1;
    if (m_cancelled) return;
    if (m_port.isLineLost()) {
        qCDebug(lcLink) << "line lost";
        return;
    }
    qCDebug(lcLink) << "no reply: wanted" << minimum << "bytes, have" << m_port.receivedCount();
    if (m_observer) m_observer->replyTimedOut();
}

bool ProgrammerLink::awaitBytes(int minimum, LinkClock::Duration limit)
{
    const LinkClock::Duration waitStartTime = m_clock.now();
    for (;;) {
        if (m_port.receivedCount() >= minimum) return true;
        m_clock.pumpEvents();
        if (m_cancelled || m_port.isLineLost()) return false;
        // Strictly greater: at exactly the limit the wait goes on.
        if (m_clock.now() - waitStartTime > limit) return false;
        m_clock.sleepUntil(waitStartTime + limit, m_port, minimum);
    }
}

AccessOutcome ProgrammerLink::Read_Version(const LinkSettings& link, LinkClock::Duration limit)
{
    m_timeOutFlag = 0;
    if (m_port.isOpen()) m_port.close();

    m_port.setPortNumber(link.portNumber);
    m_port.setDevicePath(link.devicePath);
    m_port.setReceiveMode(SerialPort::ReceiveMode::Text);
    m_port.setRts(link.rts);
    m_port.setDtr(link.dtr);

    QString reason;
    if (!m_port.open(&reason)) {
        qCDebug(lcLink) << "cannot open" << link.devicePath << reason;
        AccessOutcome outcome = detectionFailure(AccessOutcome::Kind::PortUnusable, link, true);
        outcome.portFailure = m_port.openFailure();
        if (outcome.portFailure.devicePath.isEmpty())
            outcome.portFailure.devicePath = link.devicePath;
        outcome.portFailure.portNumber = link.portNumber;
        if (outcome.portFailure.systemReason.isEmpty() && outcome.portFailure.holder.isEmpty()) {
            outcome.portFailure.systemReason = reason;
        }
        return outcome;
    }
    qCDebug(lcLink) << "opened" << link.devicePath << "RTS" << link.rts << "DTR" << link.dtr;

    // An answer to the first query (or one left over from an earlier access) is dropped; only
    // the answer to the second one is read.
    m_port.discard();
    send("?");
    m_clock.pause(kQueryPause);
    m_clock.pumpEvents();
    m_port.discard();
    send("?");

    Wait_Input(kIdentificationReply, limit);
    if (m_cancelled) {
        AccessOutcome outcome;
        outcome.kind = AccessOutcome::Kind::Cancelled;
        outcome.stage = AccessOutcome::Stage::Detection;
        return outcome;
    }
    if (m_port.isLineLost()) return detectionFailure(AccessOutcome::Kind::LineLost, link, true);
    if (m_timeOutFlag == 1) {
        AccessOutcome outcome = detectionFailure(AccessOutcome::Kind::NoBoard, link, true);
        outcome.answeredBytes = m_port.receivedCount();
        return outcome;
    }

    const QString identification = QString::fromLatin1(takeReceived()).left(kIdentificationLength);
    if (!identification.startsWith(kBoardName)) {
        AccessOutcome outcome = detectionFailure(AccessOutcome::Kind::NoBoard, link, true);
        outcome.reason = identification;
        return outcome;
    }
    if (m_observer) m_observer->boardIdentified(link, identification);

    // A board that cannot follow the commands below is not sent them.
    const std::optional<double> version = parseDecimal(identification.right(kVersionLength));
    if (!version) {
        AccessOutcome outcome = detectionFailure(AccessOutcome::Kind::BadReply, link, false);
        outcome.identification = identification;
        return outcome;
    }
    const auto firmware = static_cast<float>(*version);
    if (firmware != 0.0F && firmware < kMinimumFirmware) {
        AccessOutcome outcome = detectionFailure(AccessOutcome::Kind::OldFirmware, link, false);
        outcome.identification = identification;
        return outcome;
    }

    m_port.setReceiveMode(SerialPort::ReceiveMode::Bytes);
    AccessOutcome outcome;
    outcome.identification = identification;
    return outcome;
}

AccessOutcome ProgrammerLink::detectionFailure(AccessOutcome::Kind kind, const LinkSettings& link,
                                               bool notConnected)
{
    m_timeOutFlag = 1;
    if (notConnected && m_observer) m_observer->boardNotConnected(link);
    AccessOutcome outcome;
    outcome.kind = kind;
    outcome.stage = AccessOutcome::Stage::Detection;
    return outcome;
}

LinkClock::Duration ProgrammerLink::lastChunkAnswerLimit(const TransferPlan& plan)
{
    // The chunk and the answer cross the line, the part programs the chunk, the adapter may
    // sit on the answer; and a byte time or two of slack.
    const LinkClock::Duration latest = SerialPort::kByteTime * (plan.chunkCount + 3) +
                                       plan.chunkProgrammingTime() + kAdapterLatency;
    return std::max(latest - kQueryPause, LinkClock::Duration::zero());
}

void ProgrammerLink::Eep_Prepare(BusFamily family)
{
    m_port.discard();
    send("E");
    m_clock.pause(kCommandPause);
    send(QByteArray{"e"} + familyDigit(family) + 'P');
    m_timeOutFlag = 0;
    // The answer stays in the receive buffer; the header drops it.
    Wait_Input(1, kReplyLimit);
}

void ProgrammerLink::Send_Access_Header(BusFamily family, char letter)
{
    m_port.discard();
    send("E");
    m_clock.pause(kCommandPause);
    send(QByteArray{"e"} + familyDigit(family) + letter);
    m_clock.pause(kCommandPause);
}

void ProgrammerLink::sendAddressPackets(const TransferPlan& plan, bool pumpEvents)
{
    for (const QByteArray& packet : {plan.startPacket(), plan.endPacket()}) {
        send(packet);
        if (pumpEvents) m_clock.pumpEvents();
        m_clock.pause(kCommandPause);
    }
}

void ProgrammerLink::send(const QByteArray& bytes)
{
    qCDebug(lcLink).noquote() << "PC >" << lineText(bytes);
    m_port.write(bytes);
}

QByteArray ProgrammerLink::takeReceived()
{
    QByteArray bytes = m_port.takeAll();
    qCDebug(lcLink).noquote() << "board <" << lineText(bytes);
    return bytes;
}

bool ProgrammerLink::lineLost() const { return m_port.isLineLost(); }

void ProgrammerLink::cancel()
{
    if (!m_running) return;
    m_cancelled = true;
    m_clock.wake();
}
