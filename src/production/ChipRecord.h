#pragma once

#include "production/SerialValue.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <chrono>
#include <optional>

// How the work on one chip ended. Pending: its numbers are taken and no outcome came (the
// station is at work on it, or was stopped mid-round; the chip may hold the numbers).
enum class ChipResult { Pending, Verified, Written, Mismatch, Failed, NotWritten };

// What became of a chip's numbers: taken (no outcome yet), used (the chip holds them), burnt
// (a failed chip may hold them: never issued again) or returned (given to the next chip).
enum class NumberFate { Taken, Used, Burnt, Returned };

// "pending", "verified", "written", "mismatch", "failed", "not-written".
[[nodiscard]] QString chipResultName(ChipResult result);
[[nodiscard]] std::optional<ChipResult> chipResultNamed(const QString& name);
// "taken", "used", "burnt", "returned".
[[nodiscard]] QString numberFateName(NumberFate fate);
[[nodiscard]] std::optional<NumberFate> numberFateNamed(const QString& name);

// The first byte a verify found different.
struct FirstMismatch {
    qint64 address = 0;
    int expected = 0;
    int actual = 0;
};

// What the round runner reports about a chip once it is done with it. NotWritten: nothing was
// sent to the chip (the port or the board failed first), so its numbers go back whatever the
// job says.
struct ChipOutcome {
    ChipResult result = ChipResult::Failed;
    QString board;  // the board's identification, "QZ-PGM Ver 6.00"
    std::optional<FirstMismatch> mismatch;
    // How far the write got: the last address handed to the board; none when nothing was.
    std::optional<qint64> writtenTo;
    std::chrono::milliseconds duration{0};
};

// One chip in the line's log, and the object `run` prints for it: when its numbers were
// taken, where, for which job and image, the values it got and how it ended.
struct ChipRecord {
    qint64 id = 0;
    QDateTime time;      // UTC, when the numbers were taken
    QDateTime finished;  // UTC, when the outcome came; invalid while pending
    QString station;
    QString port;
    QString board;
    QString part;
    QString job;
    QString jobSha256;
    QString imageSha256;
    QList<SerialValue> serials;  // field and text only
    ChipResult result = ChipResult::Pending;
    NumberFate numbers = NumberFate::Taken;
    std::optional<FirstMismatch> mismatch;
    std::optional<qint64> writtenTo;  // the last address the write handed to the board
    std::chrono::milliseconds duration{0};
};

// The record as one JSON object: id, time, finished, station, port, board, part, job,
// jobSha256, imageSha256, serials ({field: text}), result, numbers, firstMismatch
// ({address, expected, actual} or null), seconds, writtenTo (an address or null).
[[nodiscard]] QJsonObject chipRecordJson(const ChipRecord& record);

// The column names of the CSV export, and one record as a CSV line (no line end). writtenTo
// came last, after the columns of the first exports.
[[nodiscard]] QString chipRecordCsvHeader();
[[nodiscard]] QString chipRecordCsvLine(const ChipRecord& record);

// "2026-03-01T08:15:02.120Z": how times are stored and exported.
[[nodiscard]] QString recordTimeText(const QDateTime& time);
