#pragma once

#include "production/ChipRecord.h"

#include <QByteArray>
#include <QList>

// The log for other programs: CSV (a header line, then one line per chip) or JSON lines (one
// object per chip, as `run --json` prints them). UTF-8, LF line ends.
enum class LogFormat { Csv, Json };

[[nodiscard]] QByteArray exportLog(const QList<ChipRecord>& records, LogFormat format);
