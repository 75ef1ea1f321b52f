#pragma once

#include "jobs/ChipJobObserver.h"

struct ChipAllocation;

// What one board's production round reports while it runs: the numbers the chip was given, as
// soon as the line database has recorded them as taken, then the chip job's steps and progress.
// Every call comes from the thread that runs the round.
class RoundObserver : public ChipJobObserver {
public:
    virtual void numbersTaken(const ChipAllocation& allocation) { Q_UNUSED(allocation); }
};
