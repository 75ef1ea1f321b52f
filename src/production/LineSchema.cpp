#include "production/LineSchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// Statements taking a database from version n to n + 1, at index n.
const QList<QStringList>& upgradeSteps()
{
    static const QList<QStringList> steps{
        {
            QStringLiteral("CREATE TABLE chips ("
                           " id BIGINT PRIMARY KEY,"
                           " taken_at TEXT NOT NULL,"
                           " finished_at TEXT,"
                           " station TEXT NOT NULL,"
                           " port TEXT NOT NULL,"
                           " board TEXT,"
                           " part TEXT NOT NULL,"
                           " job TEXT NOT NULL,"
                           " job_sha256 TEXT NOT NULL,"
                           " image_sha256 TEXT NOT NULL,"
                           " serials TEXT NOT NULL,"
                           " result TEXT NOT NULL,"
                           " numbers TEXT NOT NULL,"
                           " mismatch_address BIGINT,"
                           " mismatch_expected INTEGER,"
                           " mismatch_actual INTEGER,"
                           " duration_ms BIGINT)"),
            QStringLiteral("CREATE TABLE serial_numbers ("
                           " series TEXT NOT NULL,"
                           " value TEXT NOT NULL,"
                           " number BIGINT NOT NULL,"
                           " state TEXT NOT NULL,"
                           " chip BIGINT NOT NULL,"
                           " PRIMARY KEY (series, value))"),
        },
        // The log is exported and searched by time, pending chips are looked for on every
        // start, and a series' highest number is asked for on every chip.
        {
            QStringLiteral("CREATE INDEX chips_taken_at ON chips (taken_at)"),
            QStringLiteral("CREATE INDEX chips_result ON chips (result)"),
            QStringLiteral("CREATE INDEX serial_numbers_number ON serial_numbers (series, number)"),
            QStringLiteral("CREATE INDEX serial_numbers_chip ON serial_numbers (chip)"),
        },
        // How far the write of a failed chip got.
        {
            QStringLiteral("ALTER TABLE chips ADD COLUMN written_to BIGINT"),
        },
    };
    return steps;
}

LineFailure queryFailure(const QSqlQuery& query)
{
    return LineFailure{LineFailure::Kind::QueryFailed, query.lastError().text(), {}, 0};
}

}  // namespace

int LineSchema::version(QSqlDatabase& database, LineFailure& failure)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)")) ||
        !query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !query.next()) {
        failure = queryFailure(query);
        return -1;
    }
    return query.value(0).isNull() ? 0 : query.value(0).toInt();
}

LineFailure LineSchema::bring(QSqlDatabase& database, int target)
{
    LineFailure failure;
    const int found = version(database, failure);
    if (failure.isFailure()) return failure;
    if (found > kVersion) {
        return LineFailure{LineFailure::Kind::SchemaTooNew, {}, {}, found};
    }
    if (found >= target) return failure;
    QSqlQuery query(database);
    for (int step = found; step < target; ++step) {
        for (const QString& statement : upgradeSteps().at(step)) {
            if (!query.exec(statement)) return queryFailure(query);
        }
    }
    if (!query.exec(QStringLiteral("DELETE FROM schema_version"))) return queryFailure(query);
    query.prepare(QStringLiteral("INSERT INTO schema_version (version) VALUES (?)"));
    query.addBindValue(target);
    if (!query.exec()) return queryFailure(query);
    return failure;
}
