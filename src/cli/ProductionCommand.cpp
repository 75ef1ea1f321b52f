#include "cli/ProductionCommand.h"

#include "base/RegularFile.h"
#include "cli/AccessRange.h"
#include "cli/CommandResultJson.h"
#include "cli/ExitCodes.h"
#include "cli/FileTexts.h"
#include "cli/JobParts.h"
#include "cli/ProductionTexts.h"
#include "files/ImageFileLoad.h"
#include "production/JobFile.h"
#include "production/LineDatabase.h"
#include "production/LogExport.h"
#include "production/Sha256.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

// The problems a job file or its options can have that lie in another file: the image or a
// CSV file cannot be read.
bool isFileProblem(JobProblem::Kind kind)
{
    using Kind = JobProblem::Kind;
    return kind == Kind::JobUnreadable || kind == Kind::ImageUnreadable ||
           kind == Kind::CsvUnreadable;
}

// "2026-03-01", "2026-03-01T08:00", "2026-03-01 08:00:00", with a zone or in local time.
QDateTime parseSince(QString text)
{
    text.replace(QLatin1Char(' '), QLatin1Char('T'));
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid()) time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid()) time = QDate::fromString(text, Qt::ISODate).startOfDay();
    return time;
}

QString localTimeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

int ProductionCommand::run(const QStringList& arguments)
{
    const ProductionParse parsed = parseProductionArguments(arguments);
    if (!parsed.options) {
        m_console.error(parsed.error);
        m_console.error(QStringLiteral("try 'vorle6-cli --help'"));
        return ExitCodes::kUsage;
    }
    m_options = *parsed.options;
    m_console.setQuiet(m_options.quiet);
    if (m_options.command == ProductionOptions::Command::Log) return log();

    const std::optional<CatalogueLoad> load =
        readPartsFile(m_options.dataFile, m_environment.appFolder, m_console);
    if (!load) return ExitCodes::kFile;
    const JobPartLookup parts = jobPartLookup(load->catalogue);
    return m_options.command == ProductionOptions::Command::JobNew ? newJob(parts)
                                                                   : checkJob(parts);
}

int ProductionCommand::newJob(const JobPartLookup& parts)
{
    const QString jobPath = QFileInfo(m_options.job).absoluteFilePath();
    if (QFileInfo::exists(jobPath)) {
        m_console.error(
            QStringLiteral("%1 exists already; a job file is never replaced").arg(m_options.job));
        return ExitCodes::kFile;
    }
    QFile image;
    QString error;
    switch (openRegularFile(image, m_options.image, error)) {
        case RegularFileOpening::Opened:
            break;
        case RegularFileOpening::NotRegular:
            m_console.error(QStringLiteral("cannot read %1: ").arg(m_options.image) +
                            notRegularFileText());
            return ExitCodes::kFile;
        case RegularFileOpening::Failed:
            m_console.error(QStringLiteral("cannot read %1: %2").arg(m_options.image, error));
            return ExitCodes::kFile;
    }
    if (image.size() > kLargestImageFile) {
        m_console.error(QStringLiteral("cannot read %1: it has more than %2 bytes, far more than "
                                       "any part's image")
                            .arg(m_options.image)
                            .arg(kLargestImageFile));
        return ExitCodes::kFile;
    }
    const std::optional<FailurePolicy> policy = failurePolicyNamed(m_options.onFailure);
    if (!policy) {
        m_console.error(
            QStringLiteral("--on-failure takes burn or reuse, not '%1'").arg(m_options.onFailure));
        return ExitCodes::kUsage;
    }

    ProductionJob job;
    job.name = m_options.name.isEmpty() ? QFileInfo(jobPath).completeBaseName() : m_options.name;
    const std::optional<JobPart> part = parts(m_options.part);
    job.partName = part ? part->name : m_options.part;
    job.partSize = part ? part->size : 0;
    job.imagePath = QFileInfo(jobPath).absoluteDir().relativeFilePath(
        QFileInfo(m_options.image).absoluteFilePath());
    job.imageSha256 = sha256Text(image.readAll());
    job.offset = m_options.offset.value_or(0);
    if (m_options.length) {
        job.length = *m_options.length;
    } else if (m_options.offset) {
        job.length = job.partSize - job.offset;
    }
    job.verify = !m_options.noVerify;
    job.onFailure = *policy;
    job.serials = m_options.serials;
    for (SerialField& field : job.serials) {
        if (field.fromCsv()) {
            field.csvPath = QFileInfo(jobPath).absoluteDir().relativeFilePath(
                QFileInfo(field.csvPath).absoluteFilePath());
        }
    }

    const QByteArray text = jobFileText(job);
    const JobRead check = readJobText(text, jobPath, parts);
    if (check.problem.isProblem()) {
        m_console.error(QStringLiteral("no job written: ") + jobProblemText(check.problem));
        return isFileProblem(check.problem.kind) ? ExitCodes::kFile : ExitCodes::kUsage;
    }
    QSaveFile file(jobPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        m_console.error(
            QStringLiteral("cannot write %1: %2").arg(m_options.job, file.errorString()));
        return ExitCodes::kFile;
    }
    const QString written = QStringLiteral("%1: job %2 written: %3, image %4 (SHA-256 %5)")
                                .arg(m_options.job, check.job->name, check.job->partName,
                                     job.imagePath, check.job->imageSha256);
    if (m_options.json) {
        jsonResult(QStringLiteral("job new"), written);
    } else if (!m_console.quiet()) {
        m_console.result(written);
    }
    return ExitCodes::kDone;
}

int ProductionCommand::checkJob(const JobPartLookup& parts)
{
    const JobRead read = readJobFile(m_options.job, parts);
    if (read.problem.isProblem()) {
        m_console.error(
            QStringLiteral("%1: refused: %2").arg(m_options.job, jobProblemText(read.problem)));
        return ExitCodes::kFile;
    }
    const ProductionJob& job = *read.job;
    const QString good =
        QStringLiteral("%1: OK: job %2 (SHA-256 %3)").arg(m_options.job, job.name, job.sha256);
    if (m_options.json) {
        jsonResult(QStringLiteral("job check"), good);
        return ExitCodes::kDone;
    }
    if (m_console.quiet()) return ExitCodes::kDone;
    m_console.result(good);
    m_console.result(
        QStringLiteral("part %1, %2..%3 written, %4, a failed chip's numbers %5")
            .arg(job.partName, addressText(job.offset), addressText(job.offset + job.length - 1),
                 job.verify ? QStringLiteral("verified") : QStringLiteral("not verified"),
                 job.onFailure == FailurePolicy::Burn ? QStringLiteral("burnt")
                                                      : QStringLiteral("given to the next chip")));
    m_console.result(QStringLiteral("image %1 (SHA-256 %2)").arg(job.imagePath, job.imageSha256));
    for (const SerialField& field : job.serials) m_console.result(serialFieldText(field));
    return ExitCodes::kDone;
}

void ProductionCommand::jsonResult(const QString& operation, const QString& message)
{
    m_console.result(
        QString::fromUtf8(QJsonDocument(commandResultJson(operation, ExitCodes::kDone, message))
                              .toJson(QJsonDocument::Compact)));
}

int ProductionCommand::log()
{
    QDateTime since;
    if (!m_options.since.isEmpty()) {
        since = parseSince(m_options.since);
        if (!since.isValid()) {
            m_console.error(QStringLiteral("--since takes a date or a time (2026-03-01, "
                                           "2026-03-01T08:00), not '%1'")
                                .arg(m_options.since));
            return ExitCodes::kUsage;
        }
    }
    const QString station = defaultStationName();
    const auto address = parseLineDatabaseAddress(m_options.database, station);
    if (!address) {
        m_console.error(lineFailureText({LineFailure::Kind::BadAddress, m_options.database, {}, 0},
                                        LineDatabaseAddress()));
        return ExitCodes::kUsage;
    }
    LineDatabase database;
    LineFailure failure = database.open(*address, station);
    ChipRecords read;
    if (!failure.isFailure()) {
        read = database.chips(since);
        failure = read.failure;
    }
    if (failure.isFailure()) {
        m_console.error(lineFailureText(failure, *address));
        return ExitCodes::kFile;
    }
    switch (m_options.output) {
        case ProductionOptions::LogOutput::Csv:
            m_console.data(exportLog(read.records, LogFormat::Csv));
            break;
        case ProductionOptions::LogOutput::Json:
            m_console.data(exportLog(read.records, LogFormat::Json));
            break;
        case ProductionOptions::LogOutput::Text:
            for (const ChipRecord& record : read.records) {
                QStringList serials;
                for (const SerialValue& value : record.serials) {
                    serials.append(value.field + QLatin1Char('=') + value.text);
                }
                m_console.result(QStringLiteral("%1  %2  %3  %4  %5  %6  %7")
                                     .arg(localTimeText(record.time), record.station, record.port,
                                          record.job, chipResultName(record.result),
                                          numberFateName(record.numbers), serials.join(' ')));
            }
            break;
    }
    return ExitCodes::kDone;
}
