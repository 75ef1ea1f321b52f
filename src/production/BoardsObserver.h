#pragma once

#include "jobs/ChipStep.h"

#include <QtGlobal>

struct ChipAllocation;
struct RoundResult;

// What a round on several boards reports, board by board (boards counted from 0 in the order
// they were given). Every call comes from the thread that runs the rounds, while it waits for
// the boards, so a window can show it as it comes.
class BoardsObserver {
public:
    virtual ~BoardsObserver() = default;

    // The line database has recorded `allocation`'s numbers as taken for the board's chip.
    virtual void numbersTaken(int board, const ChipAllocation& allocation)
    {
        Q_UNUSED(board);
        Q_UNUSED(allocation);
    }
    // How far the board's running step has come, in steps of half a percent.
    virtual void progressed(int board, ChipStep step, qint64 done, qint64 total)
    {
        Q_UNUSED(board);
        Q_UNUSED(step);
        Q_UNUSED(done);
        Q_UNUSED(total);
    }
    // The board's round has ended (its outcome recorded, when it could be).
    virtual void boardFinished(int board, const RoundResult& result)
    {
        Q_UNUSED(board);
        Q_UNUSED(result);
    }
};
