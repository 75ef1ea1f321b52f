#include "cli/ParallelRunner.h"

#include "cli/BoardWorker.h"

#include <QEventLoop>
#include <QThread>

ParallelRunner::ParallelRunner(LinkFactory& factory, Mode mode) : m_factory(factory), m_mode(mode)
{
}

ParallelRunner::~ParallelRunner() = default;

QList<BoardResult> ParallelRunner::run(const JobOrder& order, const QList<LinkSettings>& links)
{
    m_workers.clear();
    for (int board = 0; board < links.size(); ++board) {
        auto worker = std::make_unique<BoardWorker>(board, m_factory, order, links.at(board));
        if (m_stopped) worker->requestStop();
        connect(worker.get(), &BoardWorker::progressed, this, &ParallelRunner::progressed);
        m_workers.push_back(std::move(worker));
    }
    if (m_mode == Mode::ThreadPerBoard) {
        runThreads();
    } else {
        runOneAfterAnother();
    }
    QList<BoardResult> results;
    for (const auto& worker : m_workers) results.append(worker->result());
    m_workers.clear();
    return results;
}

void ParallelRunner::runThreads()
{
    QEventLoop waiting;
    std::vector<std::unique_ptr<QThread>> threads;
    std::size_t running = m_workers.size();
    for (const auto& worker : m_workers) {
        auto thread = std::make_unique<QThread>();
        worker->moveToThread(thread.get());
        BoardWorker* board = worker.get();
        // Started is emitted on the new thread: the job runs there, then the thread ends.
        connect(thread.get(), &QThread::started, board, [board] {
            board->run();
            QThread::currentThread()->quit();
        });
        connect(thread.get(), &QThread::finished, &waiting, [&] {
            if (--running == 0) waiting.quit();
        });
        threads.push_back(std::move(thread));
    }
    for (const auto& thread : threads) thread->start();
    if (running > 0) waiting.exec();
    for (const auto& thread : threads) thread->wait();
}

void ParallelRunner::runOneAfterAnother()
{
    for (const auto& worker : m_workers) worker->run();
}

void ParallelRunner::stopAll()
{
    m_stopped = true;
    for (const auto& worker : m_workers) worker->requestStop();
}
