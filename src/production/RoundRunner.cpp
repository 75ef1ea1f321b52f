#include "production/RoundRunner.h"

#include "production/BoardsObserver.h"
#include "production/RoundBoard.h"

#include <QEventLoop>
#include <QThread>

RoundRunner::RoundRunner(LinkFactory& links, const RoundOrder& order,
                         const QList<LinkSettings>& boards)
{
    for (int index = 0; index < boards.size(); ++index) {
        auto board = std::make_unique<RoundBoard>(index, links, order, boards.at(index));
        auto thread = std::make_unique<QThread>();
        board->moveToThread(thread.get());
        connect(board.get(), &RoundBoard::numbersGiven, this,
                [this](int which, const ChipAllocation& allocation) {
                    if (m_observer) m_observer->numbersTaken(which, allocation);
                });
        connect(board.get(), &RoundBoard::stepProgressed, this,
                [this](int which, int phase, qint64 done, qint64 total) {
                    if (m_observer) {
                        m_observer->progressed(which, static_cast<ChipStep>(phase), done, total);
                    }
                });
        thread->start();
        m_boards.push_back(std::move(board));
        m_threads.push_back(std::move(thread));
    }
}

RoundRunner::~RoundRunner()
{
    stop();
    // The connections close on the threads that opened them.
    if (m_open) onEveryBoard(&RoundBoard::closeDatabase);
    for (const auto& thread : m_threads) {
        thread->quit();
        thread->wait();
    }
}

void RoundRunner::onEveryBoard(void (RoundBoard::*step)(), const std::function<void(int)>& finished)
{
    QEventLoop waiting;
    std::size_t running = m_boards.size();
    QList<QMetaObject::Connection> connections;
    for (const auto& board : m_boards) {
        connections.append(connect(board.get(), &RoundBoard::done, &waiting, [&](int which) {
            if (finished) finished(which);
            if (--running == 0) waiting.quit();
        }));
    }
    for (const auto& board : m_boards) {
        QMetaObject::invokeMethod(board.get(), step, Qt::QueuedConnection);
    }
    if (running > 0) waiting.exec();
    for (const QMetaObject::Connection& connection : connections) disconnect(connection);
}

LineFailure RoundRunner::open()
{
    if (m_open) return {};
    m_open = true;
    onEveryBoard(&RoundBoard::openDatabase);
    for (const auto& board : m_boards) {
        if (!board->openFailure().isFailure()) continue;
        const LineFailure failure = board->openFailure();
        onEveryBoard(&RoundBoard::closeDatabase);
        m_open = false;
        return failure;
    }
    return {};
}

QList<RoundResult> RoundRunner::runRound()
{
    onEveryBoard(&RoundBoard::runRound, [this](int which) {
        if (m_observer) m_observer->boardFinished(which, m_boards.at(which)->result());
    });
    QList<RoundResult> results;
    for (const auto& board : m_boards) results.append(board->result());
    return results;
}

void RoundRunner::stop()
{
    m_stopped = true;
    for (const auto& board : m_boards) board->requestStop();
}
