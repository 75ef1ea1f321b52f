// Takes numbers from a line database in a process of its own, for the tests that run two such
// processes against one database: line_allocator ADDRESS JOB COUNT prints each number taken,
// one a line, recording every chip as verified.
#include "production/LineDatabase.h"

#include "support/LineJobs.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) return 2;
    QTextStream out(stdout);
    QTextStream errors(stderr);
    const auto address = parseLineDatabaseAddress(arguments.at(1), {});
    if (!address) return 2;
    LineDatabase database;
    LineFailure failure = database.open(*address, QStringLiteral("process"));
    const ProductionJob job = numberedJob(arguments.at(2), 1, 99999999);
    for (int i = 0; i < arguments.at(3).toInt() && !failure.isFailure(); ++i) {
        const ChipAllocation allocation = database.allocate(job, QStringLiteral("/dev/ttyUSB0"));
        failure = allocation.failure;
        if (failure.isFailure()) break;
        out << allocation.values.first().number << Qt::endl;
        ChipOutcome outcome;
        outcome.result = ChipResult::Verified;
        failure = database.record(allocation.chip, outcome, job.onFailure).failure;
    }
    if (failure.isFailure()) {
        errors << "failure " << static_cast<int>(failure.kind) << ": " << failure.detail
               << Qt::endl;
        return 1;
    }
    return 0;
}
