#pragma once

#include "jobs/ChipStep.h"
#include "link/AccessObserver.h"

struct AccessOutcome;

// What a chip job reports while it runs: the access's own reports, and where one step ends and
// the next begins. Every call comes from the thread that runs the job.
class ChipJobObserver : public AccessObserver {
public:
    virtual void stepStarted(ChipStep step) { Q_UNUSED(step); }
    virtual void stepFinished(ChipStep step, const AccessOutcome& outcome)
    {
        Q_UNUSED(step);
        Q_UNUSED(outcome);
    }
};
