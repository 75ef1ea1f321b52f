#pragma once

#include "cli/BoardResult.h"
#include "cli/JobOrder.h"
#include "link/LinkSettings.h"

#include <QObject>

#include <atomic>

class LinkFactory;
class ProgrammerLink;

// Runs one board's job on the thread it lives in, with a port and a clock made there, and
// takes stop requests from any thread: the request is queued to that thread, where it cancels
// the running access from the link's own event loop.
class BoardWorker : public QObject {
    Q_OBJECT
public:
    BoardWorker(int board, LinkFactory& factory, const JobOrder& order, const LinkSettings& link);

    // Runs the job to its end on the calling thread, which must be the worker's.
    void run();
    // From any thread: stop at the next chunk boundary; a job not yet begun sends nothing.
    void requestStop();

    // After finished().
    [[nodiscard]] const BoardResult& result() const { return m_result; }

signals:
    // Progress of the running step; `phase` is a ChipStep. Announced in steps of half a
    // percent, so a slow observer on another thread is not flooded.
    void progressed(int board, int phase, qint64 done, qint64 total);
    void finished(int board);

private:
    void stopHere();

    int m_board = 0;
    LinkFactory& m_factory;
    JobOrder m_order;
    LinkSettings m_link;
    BoardResult m_result;
    std::atomic<bool> m_stop{false};
    ProgrammerLink* m_programmerLink = nullptr;  // while run() runs
};
