#pragma once

#include "link/LinkSettings.h"
#include "production/LineDatabase.h"
#include "production/RoundObserver.h"
#include "production/RoundOrder.h"
#include "production/RoundResult.h"

#include <QObject>

#include <atomic>
#include <memory>

class LinkFactory;
class ProgrammerLink;

// One board of a production run, living on a thread of its own for the whole run: its database
// connection is opened, used and closed there, and each round gets a port and a clock made
// there. Its slots run on that thread; a stop request may come from any thread and is queued
// to it, where it cancels the running access from the link's own event loop.
class RoundBoard : public QObject, private RoundObserver {
    Q_OBJECT
public:
    RoundBoard(int board, LinkFactory& links, const RoundOrder& order, const LinkSettings& link);
    ~RoundBoard() override;

    // On the board's thread; each ends with done().
    void openDatabase();
    void runRound();
    void closeDatabase();

    // From any thread: the running write stops at its next chunk, and no round starts again.
    void requestStop();

    // After done() of openDatabase() and runRound().
    [[nodiscard]] const LineFailure& openFailure() const { return m_openFailure; }
    [[nodiscard]] const RoundResult& result() const { return m_result; }

signals:
    void numbersGiven(int board, const ChipAllocation& allocation);
    // `phase` is a ChipStep.
    void stepProgressed(int board, int phase, qint64 done, qint64 total);
    void done(int board);

private:
    void numbersTaken(const ChipAllocation& allocation) override;
    void stepStarted(ChipStep step) override;
    void progressed(const AccessProgress& progress) override;
    void stopHere();

    int m_board = 0;
    LinkFactory& m_links;
    RoundOrder m_order;
    LinkSettings m_link;
    std::unique_ptr<LineDatabase> m_database;
    LineFailure m_openFailure;
    RoundResult m_result;
    std::atomic<bool> m_stop{false};
    ProgrammerLink* m_programmerLink = nullptr;  // while a round runs
    ChipStep m_step = ChipStep::Write;
    qint64 m_lastStep = -1;
};
