#pragma once

#include "link/LinkSettings.h"
#include "production/LineFailure.h"
#include "production/RoundOrder.h"
#include "production/RoundResult.h"

#include <QList>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class BoardsObserver;
class LinkFactory;
class QThread;
class RoundBoard;

// Runs production rounds on several boards at once: each board on a thread of its own for the
// whole run, with its own database connection and, each round, its own port and clock, so
// three boards take about as long as one. The calls come from one thread (the window's, or the
// command line's main thread), which serves its events while the boards work.
//
//   RoundRunner runner(links, order, boards);
//   if (runner.open().isFailure()) ...            // no board is touched then
//   const QList<RoundResult> round = runner.runRound();
class RoundRunner : public QObject {
    Q_OBJECT
public:
    RoundRunner(LinkFactory& links, const RoundOrder& order, const QList<LinkSettings>& boards);
    ~RoundRunner() override;

    void setObserver(BoardsObserver* observer) { m_observer = observer; }

    // Opens every board's database connection, creating or upgrading the tables. On a failure
    // (the first one found) every connection is closed again and no round runs.
    [[nodiscard]] LineFailure open();
    // One round on every board; returns once all have ended, the results in the order of the
    // boards. After stop() the boards start nothing and take no numbers.
    [[nodiscard]] QList<RoundResult> runRound();
    // From any thread: every running write stops at its next chunk (and is recorded as it
    // ended); no round starts again.
    void stop();
    [[nodiscard]] bool stopped() const { return m_stopped; }

private:
    // Runs `step` on every board's thread and waits for all of them; `finished` is called for
    // each board as it ends.
    void onEveryBoard(void (RoundBoard::*step)(), const std::function<void(int)>& finished = {});

    std::vector<std::unique_ptr<RoundBoard>> m_boards;
    std::vector<std::unique_ptr<QThread>> m_threads;
    BoardsObserver* m_observer = nullptr;
    bool m_open = false;
    std::atomic<bool> m_stopped{false};
};
