#pragma once

#include "cli/CliCommand.h"
#include "cli/JobOrder.h"
#include "files/BackupFiles.h"
#include "image/ImageChecksums.h"
#include "image/ImageComparison.h"
#include "jobs/ReadAgreement.h"
#include "link/AccessOutcome.h"
#include "link/LinkSettings.h"
#include "link/PortOpenFailure.h"
#include "link/StoppedWrites.h"

#include <QByteArray>
#include <QString>

#include <optional>

// How one board's job ended, with what the report needs to say so in English.
struct BoardResult {
    enum class Kind {
        Done,
        Mismatch,      // verify: the chip differs from the file
        ReadsDiffer,   // repeated reads of the chip differ where no byte has a majority
        NotBlank,      // blank check: a byte is not 0xFF
        Refused,       // the access was refused before anything was sent
        FileError,     // the chip was read, the file could not be written
        PortUnusable,  // the port did not open (portFailure says why)
        PortClaimed,   // the window or another vorle6-cli holds the port (holder)
        NoBoard,
        OldFirmware,
        TimedOut,
        BadReply,
        LineLost,
        Cancelled,
    };

    LinkSettings link;
    CliCommand command = CliCommand::Detect;
    QString partName;
    Kind kind = Kind::Done;
    ChipStep phase = ChipStep::Detect;  // the step the job ended in
    AccessOutcome access;               // that step's outcome
    std::optional<Comparison> comparison;
    QByteArray image;       // read: the part's image, 0xFF outside the range
    qint64 bytes = 0;       // bytes the command's main step moved or compared
    qint64 writtenTo = -1;  // write, erase: the last address handed to the board, -1 none
    // No board answered, and the last write on the port stopped inside its range.
    std::optional<StoppedWrites::Record> earlierStoppedWrite;
    bool verifyAfter = true;
    LinkClock::Duration elapsed{0};
    PortOpenFailure portFailure;
    QString holder;  // PortClaimed, or PortUnusable when in use: who has the port
    QString fileError;
    QString outputPath;  // read: the file written

    // How repeated reads agreed (--reads), when they differed somewhere.
    std::optional<ReadAgreement> agreement;
    std::optional<SavedBackup> backup;  // write, erase with --backup
    bool changedOnly = false;
    qint64 bytesWritten = 0;     // write, erase: bytes sent to the board
    int writeAccesses = 0;       // write, erase: the spans sent, one access each
    bool chipHeldImage = false;  // --changed-only found nothing to write
    bool allBlank = false;       // what was read last is all 0xFF
    // Read, write, verify: the image's checksums, as the .bin file of it gives them.
    std::optional<ImageChecksums> checksums;

    [[nodiscard]] int exitCode() const;
    [[nodiscard]] bool succeeded() const { return kind == Kind::Done; }
};

// The kind of result an access outcome makes.
[[nodiscard]] BoardResult::Kind resultKindOf(AccessOutcome::Kind kind);
