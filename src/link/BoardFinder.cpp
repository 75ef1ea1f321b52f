#include "link/BoardFinder.h"

#include "link/AccessObserver.h"
#include "link/LinkLog.h"
#include "link/PortHolders.h"
#include "link/PortOpenFailure.h"
#include "link/ProgrammerLink.h"
#include "link/SerialPort.h"

namespace {

// Tells a silent device from one that answered something else: only a silent one lets the
// reply wait run out.
class ReplyWatch : public AccessObserver {
public:
    void replyTimedOut() override { timedOut = true; }
    bool timedOut = false;
};

}  // namespace

BoardFinder::BoardFinder(PortFactory factory, LinkClock& clock, const PortHolders& holders)
    : m_factory(std::move(factory)), m_clock(clock), m_holders(holders)
{
}

BoardFinder::~BoardFinder() = default;

BoardSearch BoardFinder::find(const QList<LinkSettings>& candidates)
{
    BoardSearch search;
    m_running = true;
    m_cancelled = false;
    for (const LinkSettings& candidate : candidates) {
        if (m_progress) m_progress(candidate);
        if (m_cancelled) break;
        BoardSearch::Probe result = probe(candidate);
        if (m_cancelled) break;
        search.probes.append(result);
        if (result.kind == BoardSearch::Probe::Kind::Board) break;
    }
    search.cancelled = m_cancelled;
    m_running = false;
    return search;
}

BoardSearch::Probe BoardFinder::probe(const LinkSettings& candidate)
{
    using Kind = BoardSearch::Probe::Kind;
    BoardSearch::Probe result;
    result.link = candidate;
    if (const std::optional<PortHolders::Holder> holder =
            m_holders.holderOf(candidate.devicePath)) {
        qCDebug(lcLink) << "not asking" << candidate.devicePath << "held by"
                        << PortHolders::describe(*holder);
        result.kind = Kind::Held;
        result.detail = PortHolders::describe(*holder);
        return result;
    }

    const std::unique_ptr<SerialPort> port = m_factory(candidate.devicePath);
    ProgrammerLink link(*port, m_clock);
    ReplyWatch watch;
    link.setObserver(&watch);
    m_link = &link;
    (void)link.begin();
    const AccessOutcome outcome = link.Read_Version(candidate, m_probeLimit);
    link.end();
    m_link = nullptr;

    if (!outcome.identification.isEmpty()) {
        result.kind = Kind::Board;
        result.detail = outcome.identification;
    } else if (outcome.kind == AccessOutcome::Kind::PortUnusable) {
        result.kind = Kind::Unusable;
        result.detail = outcome.portFailure.systemReason;
    } else if (outcome.kind == AccessOutcome::Kind::LineLost) {
        result.kind = Kind::LineLost;
    } else if (watch.timedOut) {
        result.kind = Kind::NoAnswer;
        result.detail = QString::number(outcome.answeredBytes.value_or(0));
    } else {
        result.kind = Kind::OtherAnswer;
        result.detail = outcome.reason;
    }
    return result;
}

void BoardFinder::cancel()
{
    if (!m_running) return;
    m_cancelled = true;
    if (m_link) m_link->cancel();
}
