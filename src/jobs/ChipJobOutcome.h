#pragma once

#include "image/ImageComparison.h"
#include "jobs/ChipStep.h"
#include "link/AccessOutcome.h"
#include "link/StoppedWrites.h"

#include <QByteArray>

#include <optional>

// How a chip job ended: the step that ended it and that step's access, what the job wrote
// before, and what it read and found. `succeeded()` only when every step went well and the
// chip holds what it should.
struct ChipJobOutcome {
    ChipStep step = ChipStep::Detect;  // the step that ended the job (its last when all went well)
    AccessOutcome access;              // that step's outcome
    // The write or erase, when a later step (its verify or blank check) ended the job.
    std::optional<AccessOutcome> written;
    // Verify, blank check: the comparison, when the whole range was read.
    std::optional<Comparison> comparison;
    // Read, verify, blank check: what was read, in an image of the part's size (verify: of the
    // expected image's size) that holds 0xFF outside the range.
    QByteArray chip;
    LinkClock::Duration elapsed{0};  // the whole job
    // The board did not answer, and the last write on this port stopped inside its range: the
    // board may still be waiting for the rest of it.
    std::optional<StoppedWrites::Record> earlierStoppedWrite;

    [[nodiscard]] bool succeeded() const
    {
        return access.succeeded() && (!comparison || comparison->matches());
    }
    // The write or erase of this job, wherever the job ended; none when it wrote nothing.
    [[nodiscard]] std::optional<AccessOutcome> writeStep() const;
    // The last address the job's write handed to the board, or -1.
    [[nodiscard]] qint64 writtenTo() const;
    // What was read holds nothing but 0xFF over the range: a blank part, an empty socket or a
    // part the wrong way round all read like that.
    [[nodiscard]] bool readAllBlank() const;
};
