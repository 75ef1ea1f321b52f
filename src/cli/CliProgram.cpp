#include "cli/CliProgram.h"

#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "cli/AccessRange.h"
#include "cli/BoardResult.h"
#include "cli/CliArguments.h"
#include "cli/CommandHelp.h"
#include "cli/CommandResultJson.h"
#include "cli/CommandWord.h"
#include "cli/DumpFacts.h"
#include "cli/ExitCodes.h"
#include "cli/FileTexts.h"
#include "cli/ImageFile.h"
#include "cli/JobParts.h"
#include "cli/PortChoice.h"
#include "cli/ProductionCommand.h"
#include "cli/ProgressReport.h"
#include "cli/ResultJson.h"
#include "cli/ResultTexts.h"
#include "cli/RunArguments.h"
#include "cli/RunCommand.h"
#include "cli/SearchCommand.h"
#include "cli/StreamReader.h"
#include "cli/VerboseLog.h"
#include "devices/CatalogueLoad.h"
#include "devices/DeviceRecord.h"
#include "devices/PartLookup.h"
#include "devices/PartSizeCheck.h"
#include "files/ImageFileLoad.h"
#include "files/ImageFileSave.h"
#include "link/LinkFactory.h"
#include "link/PortClaim.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const QString kStandardStream = QStringLiteral("-");
const QString kPortPlaceholder = QStringLiteral("%p");

QString unknownFormatText(const QString& path)
{
    return QStringLiteral(
               "cannot tell the format of %1 by its name: use .hex, .ihx, .ihex, "
               ".s19, .s28, .s37, .srec, .mot or .bin, or --format hex|srec|bin")
        .arg(path);
}

QString busName(const SelectedDevice& device)
{
    if (device.Family == BusFamily::I2c) return QStringLiteral("I2C");
    if (device.Family == BusFamily::Microwire) return QStringLiteral("Microwire");
    return QStringLiteral("family-%1").arg(static_cast<int>(device.Family));
}

// "vorle6-cli (process 1234)": who holds a port's claim, or why there is none to take.
QString claimHolderText(const PortClaim& claim)
{
    if (claim.unusable()) {
        return QStringLiteral("the claim file %1 cannot be made").arg(claim.fileName());
    }
    if (claim.holderPid() == 0) return QStringLiteral("another program");
    return QStringLiteral("%1 (process %2)")
        .arg(claim.holderProgram().isEmpty() ? QStringLiteral("a program") : claim.holderProgram())
        .arg(claim.holderPid());
}

}  // namespace

CliProgram::CliProgram(const CliEnvironment& environment)
    : m_environment(environment), m_console(*environment.output, *environment.errors)
{
}

CliProgram::~CliProgram() = default;

int CliProgram::run(const QStringList& arguments)
{
    const QString command = commandNameOf(arguments);
    if (commandLineGives(arguments, QStringLiteral("--help"), u'h')) {
        m_console.data(commandHelpText(command).toUtf8());
        return ExitCodes::kDone;
    }
    if (commandLineGives(arguments, QStringLiteral("--version"), u'V')) {
        m_console.result(QStringLiteral("vorle6-cli ") + ProductInfo::versionNumber());
        return ExitCodes::kDone;
    }
    std::optional<VerboseLog> verbose;
    if (commandLineGives(arguments, QStringLiteral("--verbose"), u'v')) {
        verbose.emplace(*m_environment.errors);
    }
    const int exitCode = runCommand(arguments);
    // A script reading the results must learn of a command that ended before any board did.
    if (exitCode != ExitCodes::kDone && !m_console.wroteOutput() &&
        commandLineGives(arguments, QStringLiteral("--json"))) {
        m_console.result(QString::fromUtf8(
            QJsonDocument(commandResultJson(command, exitCode, m_console.firstError()))
                .toJson(QJsonDocument::Compact)));
    }
    return exitCode;
}

int CliProgram::runCommand(const QStringList& arguments)
{
    if (isProductionCommandLine(arguments)) {
        ProductionCommand command(m_environment, m_console);
        return command.run(arguments);
    }
    if (isRunCommandLine(arguments)) {
        RunCommand command(m_environment, m_console);
        m_run = &command;
        const int exitCode = command.run(arguments);
        m_run = nullptr;
        return exitCode;
    }
    const CliParse parsed = parseCliArguments(arguments);
    if (!parsed.error.isEmpty()) {
        m_console.error(parsed.error);
        m_console.error(QStringLiteral("try 'vorle6-cli --help'"));
        return ExitCodes::kUsage;
    }
    m_options = *parsed.options;
    m_console.setQuiet(m_options.quiet);

    const std::optional<CatalogueLoad> parts =
        readPartsFile(m_options.dataFile, m_environment.appFolder, m_console,
                      m_options.command != CliCommand::Detect);
    if (!parts) return ExitCodes::kFile;
    const CatalogueLoad& load = *parts;
    noticeCatalogueProblems(load);
    m_catalogue = load.catalogue;
    if (m_options.command == CliCommand::List) return list(load);

    JobOrder order;
    order.command = m_options.command;
    order.claimFolder = m_environment.claimFolder;
    order.verifyAfter = !m_options.noVerify;
    order.reads = m_options.reads;
    order.backupFolder = m_options.backupFolder;
    order.changedOnly = m_options.changedOnly;
    if (cliCommandNeedsPart(order.command)) {
        if (const auto code = choosePart(load, order)) return *code;
    }
    if (order.command == CliCommand::Write || order.command == CliCommand::Verify) {
        if (const auto code = readInput(order)) return *code;
    }
    const SettingsStore settings;
    for (const SetAsideFile& file : settings.setAsideFiles()) {
        m_console.notice(settingsSetAsideText(file));
    }
    if (m_options.search) {
        if (interruptedBeforeSending()) return ExitCodes::kInterrupted;
        SearchCommand search(m_console, m_options, m_environment);
        m_search = &search;
        const int exitCode = search.run(settings);
        m_search = nullptr;
        return exitCode;
    }
    const PortChoice ports = choosePorts(m_options, settings);
    if (!ports.error.isEmpty()) {
        m_console.error(ports.error);
        return ExitCodes::kUsage;
    }
    if (order.command == CliCommand::Read) {
        if (const auto code = checkOutput(order, ports.links)) return *code;
    }
    if (interruptedBeforeSending()) return ExitCodes::kInterrupted;
    return runBoards(order, ports.links);
}

bool CliProgram::interruptedBeforeSending()
{
    // A Ctrl+C that came while the files were read waits in the event queue: take it now,
    // before any board hears a byte.
    QCoreApplication::processEvents();
    if (!m_interrupted) return false;
    m_console.error(QStringLiteral("interrupted before anything was sent"));
    return true;
}

void CliProgram::interrupt()
{
    if (m_run) {
        m_run->interrupt();
        return;
    }
    if (m_interrupted) return;
    m_interrupted = true;
    if (m_input) {
        m_input->interrupt();
        return;
    }
    if (m_search) {
        m_search->interrupt();
        return;
    }
    if (!m_runner) return;
    if (m_progress) m_progress->finish();
    m_console.error(QStringLiteral("interrupted: stopping at the next block and closing the port"));
    m_runner->stopAll();
}

void CliProgram::noticeCatalogueProblems(const CatalogueLoad& load)
{
    for (const QString& line : catalogueNoticeLines(load)) m_console.notice(line);
}

int CliProgram::list(const CatalogueLoad& load)
{
    int nameWidth = 0;
    for (int index = 0; index < load.catalogue.size(); ++index) {
        nameWidth = std::max(
            nameWidth,
            static_cast<int>(load.catalogue.record(index).field(DeviceRecord::ListName).size()));
    }
    for (int index = 0; index < load.catalogue.size(); ++index) {
        const DeviceRecord& record = load.catalogue.record(index);
        const QString name = record.field(DeviceRecord::ListName);
        SelectedDevice device;
        DeviceRowProblem problem;
        if (!SelectedDevice::fromRecord(record, device, &problem)) {
            m_console.notice(QStringLiteral("%1: the row of %2 cannot be used: %3")
                                 .arg(load.path, name, rowProblemText(problem)));
            continue;
        }
        if (m_options.json) {
            const QJsonObject object{{"part", name},
                                     {"bus", busName(device)},
                                     {"size", device.memorySize()},
                                     {"pageSize", device.PageSize}};
            m_console.result(
                QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
            continue;
        }
        m_console.result(QStringLiteral("%1  %2  %3 bytes  page %4")
                             .arg(name, -nameWidth)
                             .arg(busName(device), -9)
                             .arg(device.memorySize(), 6)
                             .arg(device.PageSize));
    }
    return ExitCodes::kDone;
}

std::optional<int> CliProgram::choosePart(const CatalogueLoad& load, JobOrder& order)
{
    const PartLookup lookup(load.catalogue);
    const int index = lookup.indexOf(m_options.part);
    if (index < 0) {
        m_console.error(QStringLiteral("no part '%1' in %2; the closest: %3 ('vorle6-cli list' "
                                       "shows them all)")
                            .arg(m_options.part, load.path,
                                 lookup.closestNames(m_options.part).join(QStringLiteral(", "))));
        return ExitCodes::kUsage;
    }
    const DeviceRecord& record = load.catalogue.record(index);
    order.partName = record.field(DeviceRecord::ListName);
    DeviceRowProblem problem;
    if (!SelectedDevice::fromRecord(record, order.device, &problem)) {
        m_console.error(QStringLiteral("%1: the row of %2 cannot be used: %3")
                            .arg(load.path, order.partName, rowProblemText(problem)));
        return ExitCodes::kFile;
    }
    if (m_options.swap16 && !order.device.isMicrowire()) {
        m_console.error(QStringLiteral("--swap16 is for the x16 dumps of Microwire (93Cxx) parts; "
                                       "the %1 is not one")
                            .arg(order.partName));
        return ExitCodes::kUsage;
    }
    const AccessRangeCheck range = checkAccessRange(m_options, order.device, order.partName);
    if (!range.range) {
        m_console.error(range.error);
        return ExitCodes::kUsage;
    }
    order.range = *range.range;
    return std::nullopt;
}

std::optional<int> CliProgram::readInput(JobOrder& order)
{
    const QString& path = m_options.input;
    const bool standardInput = path == kStandardStream;
    const std::optional<ImageFileFormat> format =
        m_options.format ? m_options.format : imageFormatOfPath(path);
    if (!format) {
        if (standardInput) {
            m_console.error(QStringLiteral("standard input needs --format hex, srec or bin"));
            return ExitCodes::kUsage;
        }
        m_console.error(unknownFormatText(path));
        return ExitCodes::kFile;
    }
    const QString name = standardInput ? QStringLiteral("standard input") : path;
    const qint64 partSize = order.device.memorySize();
    std::optional<CliImageLoad> read;
    if (standardInput) {
        read = readStandardInput(*format, partSize);
        if (!read) return m_interrupted ? ExitCodes::kInterrupted : ExitCodes::kFile;
    } else {
        read = readImageFile(path, *format, partSize, byteOrder());
    }
    const CliImageLoad& load = *read;
    if (!load.ok()) {
        m_console.error(QStringLiteral("cannot read %1: %2").arg(name, load.error));
        return ExitCodes::kFile;
    }
    if (load.overlappingBytes > 0) {
        const QString overlap = QStringLiteral(
                                    "%1: records write %2 bytes that earlier records wrote "
                                    "(the first at %3); the later ones count")
                                    .arg(name)
                                    .arg(load.overlappingBytes)
                                    .arg(addressText(load.firstOverlap));
        if (!m_options.force) {
            m_console.error(overlap + QStringLiteral("; give --force to take the file as it is"));
            return ExitCodes::kFile;
        }
        m_console.notice(overlap + QStringLiteral(" (--force)"));
    }
    if (load.recordsAfterEnd > 0) {
        m_console.notice(QStringLiteral("%1: %2 records after the end record were left out")
                             .arg(name)
                             .arg(load.recordsAfterEnd));
    }
    if (load.badRecords > 0) {
        m_console.error(QStringLiteral("%1: %2 of its records have a wrong checksum or are cut "
                                       "short; nothing was sent")
                            .arg(name)
                            .arg(load.badRecords));
        return ExitCodes::kFile;
    }
    if (load.bytesBeyond > 0) {
        const QString beyond = QStringLiteral(
                                   "%1 bytes of %2 lie beyond the end of the %3 (from "
                                   "%4; its last address is %5)")
                                   .arg(load.bytesBeyond)
                                   .arg(name, order.partName, addressText(load.firstAddressBeyond),
                                        addressText(partSize - 1));
        if (!m_options.truncate) {
            m_console.error(beyond + QStringLiteral("; give --truncate to leave them out"));
            return ExitCodes::kFile;
        }
        m_console.notice(beyond + QStringLiteral(": left out (--truncate)"));
    }
    if (const auto mismatch = partSizeMismatch(load.imageBytes, order.device)) {
        const QString sizes = partSizeText(name, order.partName, *mismatch,
                                           partsFitting(m_catalogue, mismatch->fileBytes));
        // --truncate has already taken a larger file for the part.
        const bool accepted = m_options.force || (m_options.truncate && load.bytesBeyond > 0);
        if (order.command == CliCommand::Write && !accepted) {
            m_console.error(sizes + QStringLiteral("; give --force to write it all the same"));
            return ExitCodes::kFile;
        }
        m_console.notice(sizes);
    }
    const qint64 rangeEnd = order.range.offset + order.range.length;
    if (*format == ImageFileFormat::Binary && load.heldBytes < rangeEnd) {
        m_console.notice(QStringLiteral("%1 holds %2 bytes, fewer than the %3 up to %4: the rest "
                                        "is taken as 0xFF")
                             .arg(name)
                             .arg(load.heldBytes)
                             .arg(rangeEnd)
                             .arg(addressText(rangeEnd - 1)));
    } else if (*format != ImageFileFormat::Binary && load.heldBytes < order.range.length) {
        m_console.notice(QStringLiteral("%1 gives %2 bytes, fewer than the %3 of %4..%5: the "
                                        "rest is taken as 0xFF")
                             .arg(name)
                             .arg(load.heldBytes)
                             .arg(order.range.length)
                             .arg(addressText(order.range.offset), addressText(rangeEnd - 1)));
    }
    order.image = load.bytes;
    return std::nullopt;
}

std::optional<CliImageLoad> CliProgram::readStandardInput(ImageFileFormat format, qint64 partSize)
{
    StreamReader reader(*m_environment.input, kLargestImageFile);
    m_input = &reader;
    if (m_interrupted) reader.interrupt();
    const StreamReader::Result result = reader.read();
    m_input = nullptr;
    switch (result) {
        case StreamReader::Result::Read:
            break;
        case StreamReader::Result::Interrupted:
            m_console.error(
                QStringLiteral("interrupted while reading standard input; nothing "
                               "was sent"));
            return std::nullopt;
        case StreamReader::Result::TooLong:
            m_console.error(QStringLiteral("cannot read standard input: it has more than %1 "
                                           "bytes, far more than any part's image; nothing was "
                                           "sent")
                                .arg(kLargestImageFile));
            return std::nullopt;
        case StreamReader::Result::Failed:
            m_console.error(QStringLiteral("cannot read standard input: ") + reader.error());
            return std::nullopt;
    }
    QBuffer buffer;
    buffer.setData(reader.bytes());
    buffer.open(QIODevice::ReadOnly);
    return readImageFile(buffer, format, partSize, byteOrder());
}

ImageByteOrder CliProgram::byteOrder() const
{
    return m_options.swap16 ? ImageByteOrder::Swapped16 : ImageByteOrder::AsIs;
}

QString CliProgram::outputPathFor(const LinkSettings& link) const
{
    QString path = m_options.output;
    return path.replace(kPortPlaceholder, portShortName(link));
}

std::optional<int> CliProgram::checkOutput(const JobOrder& order, const QList<LinkSettings>& links)
{
    const QString& path = m_options.output;
    const bool standardOutput = path == kStandardStream;
    const std::optional<ImageFileFormat> format =
        m_options.format ? m_options.format
                         : imageFormatOfPath(QString(path).remove(kPortPlaceholder));
    if (!format) {
        if (standardOutput) {
            m_console.error(QStringLiteral("standard output needs --format hex, srec or bin"));
            return ExitCodes::kUsage;
        }
        m_console.error(unknownFormatText(path));
        return ExitCodes::kFile;
    }
    if (links.size() > 1 && (standardOutput || !path.contains(kPortPlaceholder))) {
        m_console.error(QStringLiteral("%1 boards need a file each: put %p in the output name "
                                       "(it becomes each port's name, e.g. image-%p.hex)")
                            .arg(links.size()));
        return ExitCodes::kUsage;
    }
    QSet<QString> names;
    for (const LinkSettings& link : links) {
        const QString name = outputPathFor(link);
        if (names.contains(name)) {
            m_console.error(QStringLiteral("two boards would both write %1").arg(name));
            return ExitCodes::kUsage;
        }
        names.insert(name);
        const QString problem = outputFileProblem(name);
        if (!problem.isEmpty()) {
            m_console.error(QStringLiteral("cannot write %1: %2").arg(name, problem));
            return ExitCodes::kFile;
        }
    }
    if (!order.range.wholePart) {
        m_console.notice(QStringLiteral("only %1..%2 is read; the file holds the whole %3 with "
                                        "0xFF outside that range")
                             .arg(addressText(order.range.offset),
                                  addressText(order.range.lastAddress()), order.partName));
    }
    m_outputFormat = *format;
    return std::nullopt;
}

int CliProgram::runBoards(const JobOrder& order, const QList<LinkSettings>& links)
{
    QList<BoardResult> results(links.size());
    QList<LinkSettings> claimed;
    QList<int> claimedIndex;
    std::vector<std::unique_ptr<PortClaim>> claims;
    for (int index = 0; index < links.size(); ++index) {
        const LinkSettings& link = links.at(index);
        auto claim = std::make_unique<PortClaim>(m_environment.claimFolder, link.devicePath);
        if (!claim->acquire()) {
            BoardResult& refused = results[index];
            refused.link = link;
            refused.command = order.command;
            refused.partName = order.partName;
            refused.kind = BoardResult::Kind::PortClaimed;
            refused.holder = claimHolderText(*claim);
            continue;
        }
        claims.push_back(std::move(claim));
        claimed.append(link);
        claimedIndex.append(index);
    }

    QStringList names;
    for (const LinkSettings& link : claimed) names.append(portShortName(link));
    ProgressReport::Style style = ProgressReport::Style::Lines;
    if (m_options.quiet || order.command == CliCommand::Detect) {
        style = ProgressReport::Style::None;
    } else if (m_environment.errorsAreTerminal) {
        style = ProgressReport::Style::Bar;
    }
    ProgressReport progress(*m_environment.errors, style, names);
    ParallelRunner runner(*m_environment.links, m_environment.mode);
    connect(&runner, &ParallelRunner::progressed, &progress, &ProgressReport::update);
    if (m_interrupted) runner.stopAll();
    m_runner = &runner;
    m_progress = &progress;
    const QList<BoardResult> ran = runner.run(order, claimed);
    m_runner = nullptr;
    m_progress = nullptr;
    progress.finish();
    for (int i = 0; i < ran.size(); ++i) results[claimedIndex.at(i)] = ran.at(i);

    if (order.command == CliCommand::Read) writeOutputs(results);
    report(results);
    int exitCode = ExitCodes::kDone;
    for (const BoardResult& result : results) exitCode = std::max(exitCode, result.exitCode());
    return exitCode;
}

void CliProgram::writeOutputs(QList<BoardResult>& results)
{
    for (BoardResult& result : results) {
        if (!result.succeeded()) continue;
        const QString path = outputPathFor(result.link);
        if (path == kStandardStream) {
            m_console.data(imageFileContents(m_outputFormat, result.image, byteOrder()));
        } else {
            result.outputPath = path;
            const QString error = writeImageFile(path, m_outputFormat, result.image, byteOrder());
            if (!error.isEmpty()) {
                result.kind = BoardResult::Kind::FileError;
                result.fileError = error;
            }
        }
        result.image.clear();
    }
}

void CliProgram::report(const QList<BoardResult>& results)
{
    // Standard output carries the image after "-o -": the summaries go to standard error then.
    const bool outputHoldsData =
        m_options.command == CliCommand::Read && m_options.output == kStandardStream;
    for (const BoardResult& result : results) {
        if (m_options.json) {
            m_console.result(QString::fromUtf8(
                QJsonDocument(resultJson(result)).toJson(QJsonDocument::Compact)));
        }
        for (const QString& notice : dumpNotices(result)) m_console.notice(notice);
        if (!result.succeeded()) {
            m_console.error(resultSummaryLine(result));
            continue;
        }
        if (m_options.json) continue;
        if (result.command == CliCommand::Detect) {
            m_console.result(resultSummaryLine(result));
        } else if (!m_console.quiet()) {
            QString summary = resultSummaryLine(result);
            if (result.checksums) summary += QStringLiteral("; ") + checksumText(result);
            if (outputHoldsData) {
                m_environment.errors->write((summary + QLatin1Char('\n')).toUtf8());
            } else {
                m_console.result(summary);
            }
        }
    }
}
