#pragma once

#include "production/LineFailure.h"

class QSqlDatabase;

// The tables of the line database, the same on SQLite and PostgreSQL, and the steps that bring
// a database of any earlier version up to this program's. The version is kept in the table
// schema_version; a database of a later version is left alone and refused.
//
//   chips           one row per chip: where, when, which job and image, its serial values
//                   (JSON), its result and the fate of its numbers
//   serial_numbers  one row per number ever issued in a series: its state (taken, used,
//                   burnt, free) and the chip that has it; (series, value) is unique, so no
//                   number is ever issued twice whatever the program does
class LineSchema {
public:
    static constexpr int kVersion = 3;

    // The version of `database` (0 for an empty one). Runs inside the caller's transaction.
    [[nodiscard]] static int version(QSqlDatabase& database, LineFailure& failure);

    // Brings `database` up to `target` (at most kVersion), or refuses one that is already
    // newer. The caller holds the database's lock in a transaction, so that two programs never
    // upgrade the same database at once.
    [[nodiscard]] static LineFailure bring(QSqlDatabase& database, int target = kVersion);
};
