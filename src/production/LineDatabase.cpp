#include "production/LineDatabase.h"

#include "production/LineSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// How long a station waits for another to finish its allocation before giving up.
constexpr auto kBusyTimeout = std::chrono::seconds{30};
// How long a connection to a PostgreSQL server may take before the server counts as unreachable.
constexpr auto kConnectTimeout = std::chrono::seconds{5};
// How long a new SQLite file's switch to the write-ahead log waits before it tries again.
constexpr auto kSwitchRetry = std::chrono::milliseconds{20};
// The PostgreSQL advisory lock every allocation and outcome holds.
constexpr qint64 kLineLock = 0x766F726C6536;  // "vorle6"

std::atomic<int> g_connections{0};

LineFailure failureOf(LineFailure::Kind kind, const QSqlError& error)
{
    return LineFailure{kind, error.text(), {}, 0};
}

// Runs `sql` with `values` bound in order; the query stays on its first row, if any.
bool run(QSqlQuery& query, const QString& sql, const QVariantList& values = {})
{
    if (!query.prepare(sql)) return false;
    for (const QVariant& value : values) query.addBindValue(value);
    return query.exec();
}

// Stations that open a new SQLite file at the same moment all switch it to the write-ahead log,
// which takes the file for itself; SQLite reports the others' switch as "locked" at once rather
// than calling the busy handler, so the switch is tried again until the busy time-out.
bool switchToWriteAheadLog(QSqlQuery& query)
{
    const auto deadline = std::chrono::steady_clock::now() + kBusyTimeout;
    for (;;) {
        if (query.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) return true;
        const QString code = query.lastError().nativeErrorCode();
        const bool busy = code == QLatin1String("5") || code == QLatin1String("6");
        if (!busy || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kSwitchRetry);
    }
}

QVariant nullable(const std::optional<qint64>& value)
{
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<qlonglong>());
}

QString stateOf(NumberFate fate)
{
    switch (fate) {
        case NumberFate::Taken:
            return QStringLiteral("taken");
        case NumberFate::Used:
            return QStringLiteral("used");
        case NumberFate::Burnt:
            return QStringLiteral("burnt");
        case NumberFate::Returned:
            break;
    }
    return QStringLiteral("free");
}

NumberFate fateOf(ChipResult result, FailurePolicy policy)
{
    switch (result) {
        case ChipResult::Verified:
        case ChipResult::Written:
            return NumberFate::Used;
        case ChipResult::NotWritten:
            return NumberFate::Returned;
        case ChipResult::Pending:
        case ChipResult::Mismatch:
        case ChipResult::Failed:
            break;
    }
    return policy == FailurePolicy::Reuse ? NumberFate::Returned : NumberFate::Burnt;
}

QDateTime timeOf(const QVariant& value)
{
    if (value.isNull()) return {};
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs).toUTC();
}

}  // namespace

LineDatabase::LineDatabase() : m_name(QStringLiteral("vorle6-line-%1").arg(++g_connections)) {}

LineDatabase::~LineDatabase()
{
    {
        QSqlDatabase database = connection();
        if (database.isValid()) database.close();
    }
    if (QSqlDatabase::contains(m_name)) QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase LineDatabase::connection() const { return QSqlDatabase::database(m_name, false); }

LineFailure LineDatabase::open(const LineDatabaseAddress& address, const QString& station)
{
    m_open = false;
    m_station = station;
    m_sqlite = address.backend == LineDatabaseAddress::Backend::Sqlite;
    if (!QSqlDatabase::isDriverAvailable(address.driverName())) {
        return LineFailure{LineFailure::Kind::NoDriver, address.driverName(), {}, 0};
    }
    if (QSqlDatabase::contains(m_name)) QSqlDatabase::removeDatabase(m_name);
    QSqlDatabase database = QSqlDatabase::addDatabase(address.driverName(), m_name);
    if (m_sqlite) {
        const QString folder = QFileInfo(address.path).absolutePath();
        if (address.makeFolder) QDir().mkpath(folder);
        if (!QFileInfo(folder).isDir()) {
            return LineFailure{LineFailure::Kind::Unreachable, folder, {}, 0};
        }
        database.setDatabaseName(address.path);
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1")
                                       .arg(std::chrono::milliseconds(kBusyTimeout).count()));
    } else {
        database.setHostName(address.host);
        database.setPort(address.port);
        database.setUserName(address.user);
        database.setPassword(address.password);
        database.setDatabaseName(address.database);
        QString options = QStringLiteral("connect_timeout=%1").arg(kConnectTimeout.count());
        if (!address.options.isEmpty()) options += QLatin1Char(';') + address.options;
        database.setConnectOptions(options);
    }
    if (!database.open()) return failureOf(LineFailure::Kind::Unreachable, database.lastError());
    if (!m_sqlite) {
        // "relation already exists, skipping" and the like would go to standard error.
        QSqlQuery query(database);
        query.exec(QStringLiteral("SET client_min_messages = warning"));
    }
    if (m_sqlite) {
        // The write-ahead log lets the log be read while a station allocates; FULL makes
        // every commit reach the disk before allocate() returns, power loss or not.
        QSqlQuery query(database);
        if (!switchToWriteAheadLog(query) ||
            !query.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
            const LineFailure failure =
                failureOf(LineFailure::Kind::Unreachable, query.lastError());
            database.close();
            return failure;
        }
    }
    LineFailure failure = lock();
    if (!failure.isFailure()) {
        failure = LineSchema::bring(database);
        if (!failure.isFailure()) failure = commit();
        if (failure.isFailure()) rollback();
    }
    if (failure.isFailure()) {
        database.close();
        return failure;
    }
    m_open = true;
    return failure;
}

LineFailure LineDatabase::begin()
{
    if (!m_open) return LineFailure{LineFailure::Kind::Unreachable, {}, {}, 0};
    return lock();
}

LineFailure LineDatabase::lock()
{
    QSqlQuery query(connection());
    const bool locked =
        m_sqlite ? query.exec(QStringLiteral("BEGIN IMMEDIATE"))
                 : query.exec(QStringLiteral("BEGIN")) &&
                       run(query, QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kLineLock});
    if (locked) return {};
    const LineFailure failure = failureOf(LineFailure::Kind::QueryFailed, query.lastError());
    rollback();
    return failure;
}

LineFailure LineDatabase::commit()
{
    QSqlQuery query(connection());
    if (query.exec(QStringLiteral("COMMIT"))) return {};
    return failureOf(LineFailure::Kind::QueryFailed, query.lastError());
}

void LineDatabase::rollback()
{
    QSqlQuery query(connection());
    query.exec(QStringLiteral("ROLLBACK"));
}

ChipAllocation LineDatabase::allocate(const ProductionJob& job, const QString& port)
{
    ChipAllocation allocation;
    allocation.failure = begin();
    if (allocation.failure.isFailure()) return allocation;
    const auto fail = [&](const LineFailure& failure) {
        rollback();
        allocation.failure = failure;
        allocation.values.clear();
        return allocation;
    };
    {
        QSqlQuery query(connection());
        if (!query.exec(QStringLiteral("SELECT COALESCE(MAX(id), 0) + 1 FROM chips")) ||
            !query.next()) {
            return fail(failureOf(LineFailure::Kind::QueryFailed, query.lastError()));
        }
        allocation.chip = query.value(0).toLongLong();
    }
    QJsonObject serials;
    for (const SerialField& field : job.serials) {
        SerialValue value;
        const LineFailure failure = take(field, allocation.chip, value);
        if (failure.isFailure()) return fail(failure);
        allocation.values.append(value);
        serials.insert(value.field, value.text);
    }
    {
        QSqlQuery query(connection());
        const bool inserted = run(
            query,
            QStringLiteral("INSERT INTO chips (id, taken_at, station, port, part, job, job_sha256,"
                           " image_sha256, serials, result, numbers)"
                           " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {allocation.chip, recordTimeText(QDateTime::currentDateTimeUtc()), m_station, port,
             job.partName, job.name, job.sha256, job.imageSha256,
             QString::fromUtf8(QJsonDocument(serials).toJson(QJsonDocument::Compact)),
             chipResultName(ChipResult::Pending), numberFateName(NumberFate::Taken)});
        if (!inserted) return fail(failureOf(LineFailure::Kind::QueryFailed, query.lastError()));
    }
    const LineFailure committed = commit();
    if (committed.isFailure()) return fail(committed);
    return allocation;
}

LineFailure LineDatabase::next(const SerialField& field, NextValue& found)
{
    QSqlQuery query(connection());
    const auto queryFailure = [&] {
        return failureOf(LineFailure::Kind::QueryFailed, query.lastError());
    };
    found = NextValue();
    if (!run(query,
             QStringLiteral("SELECT number, value FROM serial_numbers WHERE series = ? AND"
                            " state = 'free' AND number >= ? AND number <= ? ORDER BY number"),
             {field.series, field.start, field.last})) {
        return queryFailure();
    }
    while (!found.returned && query.next()) {
        found.number = query.value(0).toLongLong();
        found.key = query.value(1).toString();
        // A csv value goes back out only while the column still holds it.
        found.returned = !field.fromCsv() || field.csvValues.contains(found.key);
    }
    if (found.returned) return {};
    if (!run(query,
             QStringLiteral("SELECT MAX(number) FROM serial_numbers WHERE series = ? AND"
                            " number >= ? AND number <= ?"),
             {field.series, field.start, field.last}) ||
        !query.next()) {
        return queryFailure();
    }
    const bool none = query.value(0).isNull();
    const qint64 highest = query.value(0).toLongLong();
    const LineFailure exhausted{LineFailure::Kind::Exhausted, field.series, field.name, field.last};
    if (!none && highest > field.last - field.step) return exhausted;
    found.number = none ? field.start : highest + field.step;
    found.key = QString::number(found.number);
    if (!field.fromCsv()) return {};
    // A value may already be out under another index when the file was edited.
    for (;; ++found.number) {
        if (found.number >= field.csvValues.size()) return exhausted;
        found.key = field.csvValues.at(found.number);
        if (!run(query,
                 QStringLiteral("SELECT 1 FROM serial_numbers WHERE series = ? AND value = ?"),
                 {field.series, found.key})) {
            return queryFailure();
        }
        if (!query.next()) return {};
    }
}

SerialValue LineDatabase::valueOf(const SerialField& field, const NextValue& found)
{
    SerialValue value;
    value.field = field.name;
    value.number = found.number;
    if (field.fromCsv()) value.csvText = found.key;
    value.text = field.displayText(value.number, value.csvText);
    return value;
}

LineFailure LineDatabase::take(const SerialField& field, qint64 chip, SerialValue& value)
{
    NextValue found;
    const LineFailure failure = next(field, found);
    if (failure.isFailure()) return failure;
    QSqlQuery query(connection());
    const bool taken =
        found.returned
            ? run(query,
                  QStringLiteral("UPDATE serial_numbers SET state = 'taken', chip = ?"
                                 " WHERE series = ? AND value = ? AND state = 'free'"),
                  {chip, field.series, found.key})
            : run(query,
                  QStringLiteral("INSERT INTO serial_numbers (series, value, number, state, chip)"
                                 " VALUES (?, ?, ?, 'taken', ?)"),
                  {field.series, found.key, found.number, chip});
    if (!taken) return failureOf(LineFailure::Kind::QueryFailed, query.lastError());
    value = valueOf(field, found);
    return {};
}

ChipAllocation LineDatabase::nextValues(const ProductionJob& job)
{
    ChipAllocation allocation;
    if (!m_open) {
        allocation.failure.kind = LineFailure::Kind::Unreachable;
        return allocation;
    }
    for (const SerialField& field : job.serials) {
        NextValue found;
        allocation.failure = next(field, found);
        if (allocation.failure.isFailure()) {
            allocation.values.clear();
            return allocation;
        }
        allocation.values.append(valueOf(field, found));
    }
    return allocation;
}

ChipRecording LineDatabase::record(qint64 chip, const ChipOutcome& outcome, FailurePolicy policy)
{
    ChipRecording recording;
    recording.failure = begin();
    if (recording.failure.isFailure()) return recording;
    const auto fail = [&](const LineFailure& failure) {
        rollback();
        recording.failure = failure;
        return recording;
    };
    const ChipResult result =
        outcome.result == ChipResult::Pending ? ChipResult::Failed : outcome.result;
    const NumberFate fate = fateOf(result, policy);
    QSqlQuery query(connection());
    if (!run(query, QStringLiteral("SELECT result FROM chips WHERE id = ?"), {chip})) {
        return fail(failureOf(LineFailure::Kind::QueryFailed, query.lastError()));
    }
    if (!query.next()) return fail(LineFailure{LineFailure::Kind::UnknownChip, {}, {}, chip});
    if (query.value(0).toString() != chipResultName(ChipResult::Pending)) {
        return fail(LineFailure{LineFailure::Kind::AlreadyRecorded, {}, {}, chip});
    }
    const std::optional<FirstMismatch>& mismatch = outcome.mismatch;
    const bool updated =
        run(query,
            QStringLiteral("UPDATE chips SET finished_at = ?, board = ?, result = ?, numbers = ?,"
                           " mismatch_address = ?, mismatch_expected = ?, mismatch_actual = ?,"
                           " duration_ms = ?, written_to = ? WHERE id = ?"),
            {recordTimeText(QDateTime::currentDateTimeUtc()), outcome.board, chipResultName(result),
             numberFateName(fate),
             nullable(mismatch ? std::optional<qint64>(mismatch->address) : std::nullopt),
             nullable(mismatch ? std::optional<qint64>(mismatch->expected) : std::nullopt),
             nullable(mismatch ? std::optional<qint64>(mismatch->actual) : std::nullopt),
             static_cast<qint64>(outcome.duration.count()), nullable(outcome.writtenTo), chip}) &&
        run(query,
            QStringLiteral("UPDATE serial_numbers SET state = ? WHERE chip = ? AND"
                           " state = 'taken'"),
            {stateOf(fate), chip});
    if (!updated) return fail(failureOf(LineFailure::Kind::QueryFailed, query.lastError()));
    query.finish();
    recording.failure = commit();
    if (recording.failure.isFailure()) return fail(recording.failure);
    ChipRecords read = select(QStringLiteral("id = ?"), {chip});
    recording.failure = read.failure;
    if (!read.records.isEmpty()) recording.record = read.records.first();
    return recording;
}

ChipRecords LineDatabase::chips(const QDateTime& since)
{
    if (!since.isValid()) return select(QStringLiteral("1 = 1"), {});
    return select(QStringLiteral("taken_at >= ?"), {recordTimeText(since)});
}

ChipRecords LineDatabase::unfinished()
{
    return select(QStringLiteral("result = ?"), {chipResultName(ChipResult::Pending)});
}

ChipRecords LineDatabase::select(const QString& condition, const QVariantList& values)
{
    ChipRecords read;
    if (!m_open) {
        read.failure.kind = LineFailure::Kind::Unreachable;
        return read;
    }
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!run(query,
             QStringLiteral("SELECT id, taken_at, finished_at, station, port, board, part, job,"
                            " job_sha256, image_sha256, serials, result, numbers,"
                            " mismatch_address, mismatch_expected, mismatch_actual, duration_ms,"
                            " written_to FROM chips WHERE %1 ORDER BY id")
                 .arg(condition),
             values)) {
        read.failure = failureOf(LineFailure::Kind::QueryFailed, query.lastError());
        return read;
    }
    while (query.next()) {
        ChipRecord record;
        record.id = query.value(0).toLongLong();
        record.time = timeOf(query.value(1));
        record.finished = timeOf(query.value(2));
        record.station = query.value(3).toString();
        record.port = query.value(4).toString();
        record.board = query.value(5).toString();
        record.part = query.value(6).toString();
        record.job = query.value(7).toString();
        record.jobSha256 = query.value(8).toString();
        record.imageSha256 = query.value(9).toString();
        const QJsonObject serials =
            QJsonDocument::fromJson(query.value(10).toString().toUtf8()).object();
        for (auto it = serials.begin(); it != serials.end(); ++it) {
            SerialValue value;
            value.field = it.key();
            value.text = it.value().toString();
            record.serials.append(value);
        }
        record.result = chipResultNamed(query.value(11).toString()).value_or(ChipResult::Failed);
        record.numbers = numberFateNamed(query.value(12).toString()).value_or(NumberFate::Taken);
        if (!query.value(13).isNull()) {
            record.mismatch = FirstMismatch{query.value(13).toLongLong(), query.value(14).toInt(),
                                            query.value(15).toInt()};
        }
        record.duration = std::chrono::milliseconds(query.value(16).toLongLong());
        if (!query.value(17).isNull()) record.writtenTo = query.value(17).toLongLong();
        read.records.append(record);
    }
    return read;
}
