#include "cli/RunCommand.h"

#include "base/SettingsStore.h"
#include "cli/CliOptions.h"
#include "cli/ExitCodes.h"
#include "cli/InterruptSignal.h"
#include "cli/JobParts.h"
#include "cli/KeyWait.h"
#include "cli/PortChoice.h"
#include "cli/ProductionTexts.h"
#include "cli/ProgressReport.h"
#include "cli/RunTexts.h"
#include "link/PortClaim.h"
#include "production/BoardsObserver.h"
#include "production/JobFile.h"
#include "production/RoundRunner.h"

#include <QIODevice>
#include <QJsonDocument>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The boards' progress on the console's progress report.
class RoundProgress final : public BoardsObserver {
public:
    explicit RoundProgress(ProgressReport& report) : m_report(report) {}
    void progressed(int board, ChipStep step, qint64 done, qint64 total) override
    {
        m_report.update(board, static_cast<int>(step), done, total);
    }

private:
    ProgressReport& m_report;
};

}  // namespace

int RunCommand::run(const QStringList& arguments)
{
    const RunParse parsed = parseRunArguments(arguments);
    if (!parsed.options) {
        m_console.error(parsed.error);
        m_console.error(QStringLiteral("try 'vorle6-cli --help'"));
        return ExitCodes::kUsage;
    }
    m_options = *parsed.options;
    m_console.setQuiet(m_options.quiet);

    const std::optional<CatalogueLoad> load =
        readPartsFile(m_options.dataFile, m_environment.appFolder, m_console);
    if (!load) return ExitCodes::kFile;
    const JobRead read = readJobFile(m_options.job, jobPartLookup(load->catalogue));
    if (read.problem.isProblem()) {
        m_console.error(QStringLiteral("%1: refused: %2; nothing was written")
                            .arg(m_options.job, jobProblemText(read.problem)));
        return ExitCodes::kFile;
    }
    RoundOrder order;
    order.job = *read.job;
    order.device = jobDevice(load->catalogue, order.job.partName).value_or(SelectedDevice());
    order.station = m_options.station.isEmpty() ? defaultStationName() : m_options.station;
    order.stoppedWritesFolder = m_environment.claimFolder;
    const auto address = parseLineDatabaseAddress(m_options.database, order.station);
    if (!address) {
        m_console.error(lineFailureText({LineFailure::Kind::BadAddress, m_options.database, {}, 0},
                                        LineDatabaseAddress()));
        return ExitCodes::kUsage;
    }
    order.database = *address;
    m_address = *address;

    CliOptions portOptions;
    portOptions.ports = m_options.ports;
    portOptions.rts = m_options.rts;
    portOptions.dtr = m_options.dtr;
    const PortChoice ports = choosePorts(portOptions, SettingsStore());
    if (!ports.error.isEmpty()) {
        m_console.error(ports.error);
        return ExitCodes::kUsage;
    }
    std::vector<std::unique_ptr<PortClaim>> claims;
    QStringList names;
    for (const LinkSettings& link : ports.links) {
        claims.push_back(std::make_unique<PortClaim>(m_environment.claimFolder, link.devicePath));
        if (!claims.back()->acquire()) {
            const PortClaim& claim = *claims.back();
            m_console.error(
                QStringLiteral("%1 is in use by %2 (process %3); a port is never shared, and "
                               "nothing was written")
                    .arg(link.devicePath, claim.holderProgram().isEmpty()
                                              ? QStringLiteral("another program")
                                              : claim.holderProgram())
                    .arg(claim.holderPid()));
            return ExitCodes::kNoBoard;
        }
        names.append(portShortName(link));
    }

    RoundRunner runner(*m_environment.links, order, ports.links);
    m_runner = &runner;
    const LineFailure failure = runner.open();
    int exitCode = ExitCodes::kDone;
    if (failure.isFailure()) {
        m_console.error(lineFailureText(failure, *address) +
                        QStringLiteral("; nothing was written"));
        exitCode = ExitCodes::kFile;
    } else if (m_interrupts > 0) {
        m_console.error(QStringLiteral("interrupted before anything was sent"));
    } else {
        exitCode = runRounds(runner, names, order.job.verify);
    }
    m_runner = nullptr;
    if (m_interrupts > 0) exitCode = std::max(exitCode, ExitCodes::kInterrupted);
    return exitCode;
}

int RunCommand::runRounds(RoundRunner& runner, const QStringList& boardNames, bool verify)
{
    KeyWait keys(*m_environment.input);
    m_keys = &keys;
    ProgressReport::Style style = ProgressReport::Style::Lines;
    if (m_options.quiet) {
        style = ProgressReport::Style::None;
    } else if (m_environment.errorsAreTerminal) {
        style = ProgressReport::Style::Bar;
    }
    int exitCode = ExitCodes::kDone;
    int rounds = 0;
    for (;;) {
        ++rounds;
        ProgressReport progress(*m_environment.errors, style, boardNames);
        m_progress = &progress;
        RoundProgress observer(progress);
        runner.setObserver(&observer);
        const QList<RoundResult> results = runner.runRound();
        runner.setObserver(nullptr);
        m_progress = nullptr;
        progress.finish();
        for (const RoundResult& result : results) {
            report(result, verify);
            exitCode = std::max(exitCode, roundExitCode(result));
        }
        if (!m_options.loop || m_interrupts > 0) break;
        m_console.notice(QStringLiteral("round %1 done: put the next chips in, then press %2 "
                                        "(Ctrl+C or Ctrl+D ends)")
                             .arg(rounds)
                             .arg(keyName()));
        if (keys.wait(m_options.key) != KeyWait::Result::Key) break;
    }
    m_keys = nullptr;
    if (m_options.loop) {
        const QString counts = QStringLiteral("%1 round%2: %3 chips passed, %4 failed")
                                   .arg(rounds)
                                   .arg(rounds == 1 ? QString() : QStringLiteral("s"))
                                   .arg(m_passed)
                                   .arg(m_failed);
        if (m_options.json) {
            m_environment.errors->write((counts + QLatin1Char('\n')).toUtf8());
        } else {
            m_console.result(counts);
        }
    }
    return exitCode;
}

void RunCommand::report(const RoundResult& result, bool verify)
{
    const QString lineText = lineFailureText(result.lineFailure, m_address);
    if (result.passed()) {
        ++m_passed;
    } else if (result.kind != RoundResult::Kind::NotStarted) {
        ++m_failed;
    }
    if (m_options.json) {
        m_console.result(QString::fromUtf8(
            QJsonDocument(roundJson(result, verify, lineText)).toJson(QJsonDocument::Compact)));
    }
    const QString line = roundSummaryLine(result, verify, lineText);
    if (!result.passed()) {
        m_console.error(line);
    } else if (!m_options.json && !m_console.quiet()) {
        m_console.result(line);
    }
}

QString RunCommand::keyName() const
{
    if (m_options.key == '\n') return QStringLiteral("Enter");
    if (m_options.key == ' ') return QStringLiteral("the space bar");
    return QStringLiteral("'%1'").arg(QLatin1Char(m_options.key));
}

void RunCommand::interrupt()
{
    ++m_interrupts;
    if (m_interrupts == 1) {
        if (m_keys && m_keys->waiting()) {
            m_keys->interrupt();
            return;
        }
        if (!m_runner) return;
        m_console.error(
            QStringLiteral("interrupted: ending after this round (Ctrl+C again stops "
                           "the writes at the next block)"));
        InterruptSignal::catchAgain();
        return;
    }
    if (m_interrupts == 2 && m_runner) {
        if (m_progress) m_progress->finish();
        m_console.error(QStringLiteral("interrupted again: stopping the writes at the next block"));
        m_runner->stop();
    }
}
