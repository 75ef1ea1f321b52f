#pragma once

#include "production/RoundOrder.h"
#include "production/RoundResult.h"

#include <atomic>

class LineDatabase;
class ProgrammerLink;
class RoundObserver;

// One production round on one board, on the link's thread (the database connection's too):
// the chip's numbers are taken from the line database, and recorded as taken, before anything
// is sent; they are laid into a copy of the job's image, which is written over the job's range
// and verified when the job says so; then the outcome is recorded (verified, written,
// mismatch with the first difference, failed with how far the write got, not written when no
// data reached the board), and the numbers of a chip that failed follow the job's rule. A stop
// request (the `stop` flag, with the link's cancel) ends the write at its next chunk and is
// recorded like any failure; a stop before the round takes no numbers.
class ProductionRound {
public:
    ProductionRound(ProgrammerLink& link, LineDatabase& database)
        : m_link(link), m_database(database)
    {
    }

    // Where the numbers, the steps and the progress go; none by default.
    void setObserver(RoundObserver* observer) { m_observer = observer; }

    // `database` must be open. `stop` may be set from any thread.
    [[nodiscard]] RoundResult run(const RoundOrder& order, const LinkSettings& board,
                                  const std::atomic<bool>& stop);

private:
    ProgrammerLink& m_link;
    LineDatabase& m_database;
    RoundObserver* m_observer = nullptr;
};
