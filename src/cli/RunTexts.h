#pragma once

#include "production/RoundResult.h"

#include <QJsonObject>
#include <QString>

// What `vorle6-cli run` says about a board's round, in English, from the round's facts.

// The exit code the round gives (src/cli/ExitCodes.h): 0 when the chip passed.
[[nodiscard]] int roundExitCode(const RoundResult& result);

// One line: "/dev/ttyUSB0: chip 17 OK: verified serial=00000017 in 0.6 s", or "... FAILED
// (exit 4): serial=00000018: write failed: ...; its numbers are burnt".
[[nodiscard]] QString roundSummaryLine(const RoundResult& result, bool verify,
                                       const QString& databaseText);

// The chip's record as the log exports it (ChipRecord's fields), with "error" (the English
// line's reason) when the chip did not pass; id and numbers are null when none were taken.
[[nodiscard]] QJsonObject roundJson(const RoundResult& result, bool verify,
                                    const QString& databaseText);
