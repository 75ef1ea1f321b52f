#include "cli/SearchCommand.h"

#include "base/SettingsStore.h"
#include "cli/BoardResult.h"
#include "cli/CliConsole.h"
#include "cli/ExitCodes.h"
#include "cli/PortChoice.h"
#include "cli/ResultJson.h"
#include "cli/ResultTexts.h"
#include "link/BoardFinder.h"
#include "link/BoardSearch.h"
#include "link/LinkFactory.h"
#include "link/PortHolders.h"
#include "link/SerialDevices.h"

#include <QJsonDocument>
#include <QJsonObject>

SearchCommand::SearchCommand(CliConsole& console, const CliOptions& options,
                             const CliEnvironment& environment)
    : m_console(console), m_options(options), m_environment(environment)
{
}

void SearchCommand::interrupt()
{
    if (!m_finder) return;
    m_console.error(QStringLiteral("interrupted: ending the search"));
    m_finder->cancel();
}

int SearchCommand::run(const SettingsStore& settings)
{
    const SerialDevices systemDevices;
    const PortHolders systemHolders;
    const SerialDevices& devices = m_environment.devices ? *m_environment.devices : systemDevices;
    const PortHolders& holders = m_environment.holders ? *m_environment.holders : systemHolders;
    CliOptions lines = m_options;
    lines.ports.clear();
    const LinkSettings stored = choosePorts(lines, settings).links.value(0);
    QList<LinkSettings> candidates;
    for (const SerialDevice& device : devices.present()) {
        LinkSettings candidate = stored;
        candidate.portNumber = 0;
        candidate.devicePath = device.path;
        candidates.append(candidate);
    }
    if (candidates.isEmpty()) {
        m_console.error(
            QStringLiteral("no serial device is present: is the board's USB serial "
                           "adapter plugged in?"));
        return ExitCodes::kNoBoard;
    }

    LinkFactory& links = *m_environment.links;
    const std::unique_ptr<LinkClock> clock = links.makeClock(stored);
    BoardFinder finder(
        [&links, &stored](const QString& path) {
            LinkSettings link = stored;
            link.devicePath = path;
            return links.makePort(link);
        },
        *clock, holders);
    m_finder = &finder;
    const BoardSearch search = finder.find(candidates);
    m_finder = nullptr;

    using Kind = BoardSearch::Probe::Kind;
    for (const BoardSearch::Probe& probe : search.probes) {
        const QString& path = probe.link.devicePath;
        switch (probe.kind) {
            case Kind::Board:
                break;
            case Kind::NoAnswer:
                m_console.notice(
                    QStringLiteral("%1: no board (%2 bytes came back)").arg(path, probe.detail));
                break;
            case Kind::OtherAnswer:
                m_console.notice(
                    QStringLiteral("%1: no board (something else answered)").arg(path));
                break;
            case Kind::Held:
                m_console.notice(
                    QStringLiteral("%1: not asked, %2 has it open").arg(path, probe.detail));
                break;
            case Kind::Unusable:
                m_console.notice(QStringLiteral("%1: cannot be opened").arg(path));
                break;
            case Kind::LineLost:
                m_console.notice(QStringLiteral("%1: the line went away").arg(path));
                break;
        }
    }
    if (search.cancelled) {
        m_console.error(QStringLiteral("interrupted before a board was found"));
        return ExitCodes::kInterrupted;
    }
    BoardResult result;
    result.command = CliCommand::Detect;
    if (const BoardSearch::Probe* board = search.board()) {
        result.link = board->link;
        result.access.identification = board->detail;
        m_console.result(m_options.json
                             ? QString::fromUtf8(
                                   QJsonDocument(resultJson(result)).toJson(QJsonDocument::Compact))
                             : resultSummaryLine(result));
        return ExitCodes::kDone;
    }
    const QString message =
        QStringLiteral("no QZ-PGM board answered on any of the %1 serial devices present")
            .arg(search.probes.size());
    m_console.error(message);
    if (m_options.json) {
        result.kind = BoardResult::Kind::NoBoard;
        QJsonObject object = resultJson(result);
        object.insert("port", QJsonValue());
        object.insert("message", message);
        m_console.result(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    }
    return ExitCodes::kNoBoard;
}
