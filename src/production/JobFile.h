#pragma once

#include "production/JobPart.h"
#include "production/JobProblem.h"
#include "production/ProductionJob.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The job file: JSON, read into a checked ProductionJob or refused with the first problem
// found, before any board is touched. Paths in it (the image, CSV files) are relative to the
// job file's folder unless absolute.
//
//   {"vorle6Job": 1, "name": "sensor-board", "part": "24C64",
//    "image": "sensor.hex", "imageSha256": "<64 hex digits>",
//    "range": {"offset": 0, "length": 8192}, "verify": true, "onFailure": "burn",
//    "serials": [{"name": "serial", "address": 16, "length": 8, "format": "decimal",
//                 "start": 1, "step": 1, "last": 99999999}]}
//
// Numbers are JSON numbers or texts (decimal, or hexadecimal after "0x"); texts carry values
// beyond 2^53 exactly.
struct JobRead {
    std::optional<ProductionJob> job;
    JobProblem problem;
};

inline constexpr int kJobFileVersion = 1;

[[nodiscard]] JobRead readJobFile(const QString& path, const JobPartLookup& parts);
// The job of `text`, as if it were the file at `path`.
[[nodiscard]] JobRead readJobText(const QByteArray& text, const QString& path,
                                  const JobPartLookup& parts);

// The job file for `job`: its image path as given (relative to the job file or absolute), its
// range only when it is not the whole part (length 0 also means the whole part), every
// serial field with the keys its format takes.
[[nodiscard]] QByteArray jobFileText(const ProductionJob& job);

// A number of the job file and the command line: decimal, or hexadecimal after "0x"; not
// negative.
[[nodiscard]] std::optional<qint64> parseJobNumber(const QString& text);
