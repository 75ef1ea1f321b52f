#pragma once

// The exit codes of vorle6-cli. With several boards the command ends with the highest code
// among them, so that a script sees the worst outcome.
namespace ExitCodes {
inline constexpr int kDone = 0;
inline constexpr int kUsage = 1;          // the command line, the part or the range is wrong
inline constexpr int kFile = 2;           // an image file or the data file cannot be used
inline constexpr int kNoBoard = 3;        // the port cannot be used, or no board answers on it
inline constexpr int kTransfer = 4;       // time-out, bad reply or line lost during a transfer
inline constexpr int kMismatch = 5;       // verify found a difference, or the chip is not blank
inline constexpr int kInterrupted = 130;  // Ctrl+C (SIGINT) or SIGTERM
}  // namespace ExitCodes
