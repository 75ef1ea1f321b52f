#pragma once

#include "files/BackupFiles.h"
#include "image/ImageComparison.h"
#include "jobs/ChipStep.h"
#include "jobs/ReadAgreement.h"
#include "jobs/WriteSpans.h"
#include "link/AccessOutcome.h"
#include "link/StoppedWrites.h"

#include <QByteArray>
#include <QList>

#include <optional>

// How a chip job ended: the step that ended it and that step's access, what the job wrote
// before, and what it read and found. `succeeded()` only when every step went well, repeated
// reads agreed, a backup asked for was saved and the chip holds what it should.
struct ChipJobOutcome {
    ChipStep step = ChipStep::Detect;  // the step that ended the job (its last when all went well)
    AccessOutcome access;              // that step's outcome (of a step of several accesses: the
                                       // last one's)
    // The write or erase, when a later step (its verify or blank check, or its next span)
    // ended the job: its last access that handed data to the board.
    std::optional<AccessOutcome> written;
    // Verify, blank check: the comparison, when the whole range was read.
    std::optional<Comparison> comparison;
    // What the last read gave, in an image of the part's size (verify: of the expected image's
    // size) that holds 0xFF outside the range; of repeated reads, the agreed bytes (empty when
    // they have none).
    QByteArray chip;
    LinkClock::Duration elapsed{0};  // the whole job
    // The board did not answer, and the last write on this port stopped inside its range: the
    // board may still be waiting for the rest of it.
    std::optional<StoppedWrites::Record> earlierStoppedWrite;

    // Repeated reads (ChipJobOrder::reads): the first read step whose reads differed, else the
    // last read step's agreement.
    std::optional<ReadAgreement> agreement;
    // Block write, erase with a backup folder: the file saved, or the one that could not be.
    std::optional<SavedBackup> backup;
    // Write, erase: the spans it was to send, one access each, in address order (the whole
    // range unless only the changed chunks were sent).
    QList<WriteSpan> spans;
    qint64 bytesWritten = 0;  // bytes handed to the board by the write or erase, all spans
    // A write of the changed chunks only found the chip holding the image over the whole range
    // (its read compared it) and sent nothing.
    bool chipHeldImage = false;

    [[nodiscard]] bool succeeded() const
    {
        return access.succeeded() && (!comparison || comparison->matches()) &&
               (!agreement || agreement->decided()) && (!backup || backup->saved());
    }
    // The write or erase of this job, wherever the job ended; none when it wrote nothing.
    [[nodiscard]] std::optional<AccessOutcome> writeStep() const;
    // The last address the job's write handed to the board, or -1.
    [[nodiscard]] qint64 writtenTo() const;
    // What was read last (the read before a write that found nothing to send included) holds
    // nothing but 0xFF: a blank part, an empty socket or a part the wrong way round all read
    // like that.
    [[nodiscard]] bool readAllBlank() const;
};
