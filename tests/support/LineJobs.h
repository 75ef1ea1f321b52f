#pragma once

#include "production/ProductionJob.h"

// A job with one decimal serial field ("serial", 8 digits at address 0), as the line-database
// tests and their allocating helper program use it; more fields come with addField().
inline ProductionJob numberedJob(const QString& name, qint64 start, qint64 last,
                                 FailurePolicy policy = FailurePolicy::Burn, qint64 step = 1)
{
    ProductionJob job;
    job.name = name;
    job.path = QStringLiteral("/jobs/%1.json").arg(name);
    job.sha256 = QString(64, QLatin1Char('a'));
    job.partName = QStringLiteral("24C02");
    job.partSize = 256;
    job.imageSha256 = QString(64, QLatin1Char('b'));
    job.image = QByteArray(256, '\xFF');
    job.length = 256;
    job.onFailure = policy;
    SerialField field;
    field.name = QStringLiteral("serial");
    field.series = name + QStringLiteral(".serial");
    field.length = 8;
    field.start = start;
    field.step = step;
    field.last = last;
    job.serials.append(field);
    return job;
}
