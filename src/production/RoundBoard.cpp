#include "production/RoundBoard.h"

#include "link/LinkFactory.h"
#include "link/ProgrammerLink.h"
#include "production/ProductionRound.h"

namespace {

// Progress goes out in this many steps of a step's bytes, so that a slow observer on another
// thread is not flooded.
constexpr qint64 kProgressSteps = 200;

}  // namespace

RoundBoard::RoundBoard(int board, LinkFactory& links, const RoundOrder& order,
                       const LinkSettings& link)
    : m_board(board), m_links(links), m_order(order), m_link(link)
{
}

RoundBoard::~RoundBoard() = default;

void RoundBoard::openDatabase()
{
    m_database = std::make_unique<LineDatabase>();
    m_openFailure = m_database->open(m_order.database, m_order.station);
    emit done(m_board);
}

void RoundBoard::closeDatabase()
{
    m_database.reset();
    emit done(m_board);
}

void RoundBoard::runRound()
{
    m_result = RoundResult();
    m_result.link = m_link;
    if (m_database && m_database->isOpen()) {
        const std::unique_ptr<SerialPort> port = m_links.makePort(m_link);
        const std::unique_ptr<LinkClock> clock = m_links.makeClock(m_link);
        ProgrammerLink link(*port, *clock);
        ProductionRound round(link, *m_database);
        round.setObserver(this);
        m_lastStep = -1;
        m_programmerLink = &link;
        m_result = round.run(m_order, m_link, m_stop);
        m_programmerLink = nullptr;
    } else {
        m_result.kind = RoundResult::Kind::NoNumbers;
        m_result.lineFailure = m_openFailure.isFailure()
                                   ? m_openFailure
                                   : LineFailure{LineFailure::Kind::Unreachable, {}, {}, 0};
    }
    emit done(m_board);
}

void RoundBoard::requestStop()
{
    m_stop = true;
    QMetaObject::invokeMethod(this, &RoundBoard::stopHere, Qt::QueuedConnection);
}

void RoundBoard::stopHere()
{
    if (m_programmerLink) m_programmerLink->cancel();
}

void RoundBoard::numbersTaken(const ChipAllocation& allocation)
{
    emit numbersGiven(m_board, allocation);
}

void RoundBoard::stepStarted(ChipStep step)
{
    m_step = step;
    m_lastStep = -1;
}

void RoundBoard::progressed(const AccessProgress& progress)
{
    const qint64 step =
        progress.total > 0 ? progress.done * kProgressSteps / progress.total : kProgressSteps;
    if (step == m_lastStep) return;
    m_lastStep = step;
    emit stepProgressed(m_board, static_cast<int>(m_step), progress.done, progress.total);
}
