#pragma once

#include "production/ChipRecord.h"
#include "production/FailurePolicy.h"
#include "production/LineDatabaseAddress.h"
#include "production/LineFailure.h"
#include "production/ProductionJob.h"
#include "production/SerialValue.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QSqlDatabase;

// The numbers one chip was given: its id in the log and one value per serial field.
struct ChipAllocation {
    LineFailure failure;
    qint64 chip = 0;
    QList<SerialValue> values;

    [[nodiscard]] bool ok() const { return !failure.isFailure(); }
};

// An outcome as recorded, read back from the log.
struct ChipRecording {
    LineFailure failure;
    ChipRecord record;

    [[nodiscard]] bool ok() const { return !failure.isFailure(); }
};

struct ChipRecords {
    LineFailure failure;
    QList<ChipRecord> records;
};

// The line database as one thread sees it: one connection of its own (Qt SQL serves a
// connection only on the thread that opened it), so a round on several boards opens one per
// board thread.
//
// No number is ever issued twice, across threads, processes, stations and a power loss: the
// numbers of a chip are taken, and recorded as taken with the station, port, job and time, in
// one committed transaction under the database's lock (SQLite: BEGIN IMMEDIATE with a busy
// timeout; PostgreSQL: a transaction-scoped advisory lock) before allocate() returns, so before
// any of them can reach a chip; a unique key on (series, value) backs this up. Numbers whose
// outcome never comes stay taken for ever and show as pending chips. Numbers come back only
// when the outcome says so: a chip that failed under "reuse", or one that nothing was sent to.
//
// A round on one board's thread:
//   LineDatabase line;
//   line.open(address, station);                         // before the first chip
//   const ChipAllocation chip = line.allocate(job, port);
//   const SerialPatch patch = patchSerials(job, chip.values);
//   ... write patch.image over job.offset..job.length, verify when job.verify ...
//   line.record(chip.chip, outcome, job.onFailure);       // gives the log's ChipRecord
class LineDatabase {
public:
    LineDatabase();
    ~LineDatabase();
    LineDatabase(const LineDatabase&) = delete;
    LineDatabase& operator=(const LineDatabase&) = delete;

    // Connects, and creates or upgrades the tables. Any failure here comes before a chip is
    // touched; the runner opens the database before the round.
    [[nodiscard]] LineFailure open(const LineDatabaseAddress& address, const QString& station);
    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] QString station() const { return m_station; }

    // Takes the next value of every field of `job` for a chip on `port`: a returned number of
    // the field's series first (the lowest within the field's bounds), else the one after the
    // series' highest within them. Refused whole when a field has none left.
    [[nodiscard]] ChipAllocation allocate(const ProductionJob& job, const QString& port);

    // The values allocate() would give the next chip now, without taking them (another station
    // may take them first); chip stays 0. Refused as allocate() would be when a field has none
    // left.
    [[nodiscard]] ChipAllocation nextValues(const ProductionJob& job);

    // Records how the chip ended and what becomes of its numbers: used (written), burnt or
    // returned (failed, as `policy` says), returned (NotWritten). Once per chip.
    [[nodiscard]] ChipRecording record(qint64 chip, const ChipOutcome& outcome,
                                       FailurePolicy policy);

    // The log from `since` on (an invalid time: all of it), oldest first.
    [[nodiscard]] ChipRecords chips(const QDateTime& since = {});
    // Chips whose numbers were taken and whose outcome never came.
    [[nodiscard]] ChipRecords unfinished();

private:
    [[nodiscard]] QSqlDatabase connection() const;
    // The lock of an open database, in a transaction of its own.
    [[nodiscard]] LineFailure begin();
    [[nodiscard]] LineFailure lock();
    [[nodiscard]] LineFailure commit();
    void rollback();
    // A field's next number: the lowest returned one within its bounds (`returned`), else the
    // one after the series' highest; `key` is the value as the series stores it.
    struct NextValue {
        qint64 number = 0;
        QString key;
        bool returned = false;
    };
    [[nodiscard]] LineFailure next(const SerialField& field, NextValue& found);
    [[nodiscard]] static SerialValue valueOf(const SerialField& field, const NextValue& found);
    [[nodiscard]] LineFailure take(const SerialField& field, qint64 chip, SerialValue& value);
    [[nodiscard]] ChipRecords select(const QString& condition, const QVariantList& values);

    QString m_name;  // of the Qt SQL connection
    QString m_station;
    bool m_sqlite = true;
    bool m_open = false;
};
