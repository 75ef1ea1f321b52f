#pragma once

#include "cli/BoardResult.h"

#include <QString>

struct PortOpenFailure;

// What vorle6-cli says about a board's result, in English, built from the result's kind and
// figures (the window's Japanese status texts are not used).

// The detail: "wrote 8192 bytes and verified them in 3.2 s", "verify failed: 3 of 8192 bytes
// differ; the first at 0x00100: file 0x12, chip 0xFF", ...
[[nodiscard]] QString resultMessage(const BoardResult& result);

// One line per board: "/dev/ttyUSB0: 24C64 write OK: ..." or "... FAILED (exit 4): ...";
// a board found by detect: "QZ-PGM Ver 6.00 on /dev/ttyUSB0".
[[nodiscard]] QString resultSummaryLine(const BoardResult& result);

// The outcome's name in JSON: "done", "mismatch", "timed-out", ...
[[nodiscard]] QString resultOutcomeName(const BoardResult& result);

// Why a port did not open, with what to do about it: for "Permission denied" the group to join,
// for a port in use the program that has it (`holder`, "minicom (PID 1234)") when known.
[[nodiscard]] QString portProblemText(const PortOpenFailure& failure, const QString& devicePath,
                                      const QString& holder = {});
