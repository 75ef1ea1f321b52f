#pragma once

#include "jobs/ChipJobOutcome.h"
#include "link/LinkSettings.h"
#include "production/ChipRecord.h"
#include "production/LineFailure.h"

// How one board's round ended: the chip's record as the log keeps it, and the chip job and the
// database failure behind it. Facts only; each front-end words them.
struct RoundResult {
    enum class Kind {
        Recorded,     // the outcome is in the log: record.result says how the chip ended
        NotStarted,   // a stop came before the board began: no numbers taken, nothing sent
        NoNumbers,    // the line database gave no numbers (lineFailure): nothing was sent
        NotRecorded,  // the outcome could not be recorded (lineFailure): the chip stays pending
                      // in the log and its numbers are never issued again
    };

    Kind kind = Kind::NotStarted;
    LinkSettings link;
    // Recorded: as the log holds it. NotRecorded: as it would have been (its id and numbers
    // are the log's). Otherwise the job's facts without an id or numbers.
    ChipRecord record;
    ChipJobOutcome chip;  // the write and its verify, when numbers were taken
    LineFailure lineFailure;

    // The chip holds the job's image with its numbers (verified when the job verifies), and
    // the log says so.
    [[nodiscard]] bool passed() const
    {
        return kind == Kind::Recorded &&
               (record.result == ChipResult::Verified || record.result == ChipResult::Written);
    }
};
