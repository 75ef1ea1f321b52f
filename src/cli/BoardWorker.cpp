#include "cli/BoardWorker.h"

#include "cli/BoardJob.h"
#include "link/LinkFactory.h"
#include "link/ProgrammerLink.h"

namespace {

constexpr qint64 kProgressSteps = 200;

}  // namespace

BoardWorker::BoardWorker(int board, LinkFactory& factory, const JobOrder& order,
                         const LinkSettings& link)
    : m_board(board), m_factory(factory), m_order(order), m_link(link)
{
}

void BoardWorker::run()
{
    {
        const std::unique_ptr<SerialPort> port = m_factory.makePort(m_link);
        const std::unique_ptr<LinkClock> clock = m_factory.makeClock(m_link);
        ProgrammerLink link(*port, *clock);
        BoardJob job(link, m_order, m_link);
        qint64 lastStep = -1;
        int lastPhase = -1;
        job.setProgressHandler([&](ChipStep phase, qint64 done, qint64 total) {
            const qint64 step = total > 0 ? done * kProgressSteps / total : kProgressSteps;
            if (step == lastStep && static_cast<int>(phase) == lastPhase) return;
            lastStep = step;
            lastPhase = static_cast<int>(phase);
            emit progressed(m_board, static_cast<int>(phase), done, total);
        });
        m_programmerLink = &link;
        m_result = job.run(m_stop);
        m_programmerLink = nullptr;
    }
    emit finished(m_board);
}

void BoardWorker::requestStop()
{
    m_stop = true;
    QMetaObject::invokeMethod(this, &BoardWorker::stopHere, Qt::QueuedConnection);
}

void BoardWorker::stopHere()
{
    if (m_programmerLink) m_programmerLink->cancel();
}
