#include "cli/BoardResult.h"

#include "cli/ExitCodes.h"

int BoardResult::exitCode() const
{
    switch (kind) {
        case Kind::Done:
            return ExitCodes::kDone;
        case Kind::Refused:
            return ExitCodes::kUsage;
        case Kind::FileError:
            return ExitCodes::kFile;
        case Kind::PortUnusable:
        case Kind::PortClaimed:
        case Kind::NoBoard:
        case Kind::OldFirmware:
            return ExitCodes::kNoBoard;
        case Kind::TimedOut:
        case Kind::BadReply:
        case Kind::LineLost:
        case Kind::ReadsDiffer:
            return ExitCodes::kTransfer;
        case Kind::Mismatch:
        case Kind::NotBlank:
            return ExitCodes::kMismatch;
        case Kind::Cancelled:
            return ExitCodes::kInterrupted;
    }
    return ExitCodes::kTransfer;
}

BoardResult::Kind resultKindOf(AccessOutcome::Kind kind)
{
    using Access = AccessOutcome::Kind;
    switch (kind) {
        case Access::Done:
            return BoardResult::Kind::Done;
        case Access::Refused:
            return BoardResult::Kind::Refused;
        case Access::PortUnusable:
            return BoardResult::Kind::PortUnusable;
        case Access::NoBoard:
            return BoardResult::Kind::NoBoard;
        case Access::OldFirmware:
            return BoardResult::Kind::OldFirmware;
        case Access::TimedOut:
            return BoardResult::Kind::TimedOut;
        case Access::BadReply:
            return BoardResult::Kind::BadReply;
        case Access::LineLost:
            return BoardResult::Kind::LineLost;
        case Access::Cancelled:
            return BoardResult::Kind::Cancelled;
    }
    return BoardResult::Kind::BadReply;
}
