#include "cli/CommandHelp.h"

#include "cli/CliArguments.h"
#include "cli/ProductionArguments.h"
#include "cli/RunArguments.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace {

// The options every command takes.
const QSet<QString> kCommon{"data", "json", "quiet", "verbose", "help", "version"};
const QSet<QString> kPort{"port", "rts", "dtr"};

// An entry of the help: a line indented by two spaces and the deeper lines that go on with it.
struct HelpEntry {
    QString command;      // a usage entry: "write", "job new"; empty for an option's entry
    QSet<QString> names;  // an option's entry: its long names ("csv", "json")
    QString text;
};

QList<HelpEntry> entriesOf(const QString& help)
{
    static const QRegularExpression longName(QStringLiteral("--([a-z0-9-]+)"));
    QList<HelpEntry> entries;
    bool open = false;
    for (const QString& line : help.split(QLatin1Char('\n'))) {
        if (open && line.startsWith(QLatin1String("   "))) {
            entries.last().text += line + QLatin1Char('\n');
            continue;
        }
        open = line.startsWith(QLatin1String("  ")) && line.size() > 2 && line.at(2) != u' ';
        if (!open) continue;
        HelpEntry entry;
        entry.text = line + QLatin1Char('\n');
        const QString head = line.mid(2);
        if (head.startsWith(QLatin1String("vorle6-cli "))) {
            const QStringList words = head.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            entry.command = words.value(1);
            if (entry.command == QLatin1String("job")) entry.command += u' ' + words.value(2);
        } else {
            // The option and its value come before the first two blanks; the words after them
            // may name other options.
            const QString option = head.left(head.indexOf(QLatin1String("  ")));
            for (const auto& match : longName.globalMatch(option)) {
                entry.names.insert(match.captured(1));
            }
        }
        entries.append(entry);
    }
    return entries;
}

// Where a command's help is taken from, in order: an option's entry is taken from the first
// text that has it, when the command takes every option it names (`names`).
struct HelpSource {
    QString text;
    QSet<QString> names;
};

QString helpFrom(const QString& command, const QList<HelpSource>& sources)
{
    QString usage;
    QString options;
    QSet<QString> shown;
    for (const HelpSource& source : sources) {
        for (const HelpEntry& entry : entriesOf(source.text)) {
            const bool ofCommand =
                command == entry.command || (command == QLatin1String("job") &&
                                             entry.command.startsWith(QLatin1String("job ")));
            if (!entry.command.isEmpty()) {
                if (ofCommand && !usage.contains(entry.text)) usage += entry.text;
                continue;
            }
            if (entry.names.isEmpty() || !source.names.contains(entry.names) ||
                shown.contains(entry.names)) {
                continue;
            }
            shown += entry.names;
            options += entry.text;
        }
    }
    const QString full = cliHelpText();
    return QStringLiteral("Usage:\n") + usage + QStringLiteral("\nOptions:\n") + options +
           full.mid(full.indexOf(QLatin1String("\nExit codes:")));
}

}  // namespace

QString commandHelpText(const QString& command)
{
    const QString main = cliHelpText();
    if (const std::optional<CliCommand> plain = cliCommandNamed(command)) {
        return helpFrom(command, {{main, cliCommandOptions(*plain) + kCommon}});
    }
    const QString production = productionHelpText();
    if (command == QLatin1String("run")) {
        return helpFrom(
            command,
            {{runHelpText(), {"station", "loop"}}, {main, kCommon + kPort}, {production, {"db"}}});
    }
    if (command == QLatin1String("log")) {
        return helpFrom(command, {{production, {"db", "since", "csv", "json"}}, {main, kCommon}});
    }
    if (command.startsWith(QLatin1String("job"))) {
        const QSet<QString> jobNew{"serial", "on-failure"};
        return helpFrom(
            command,
            {{production, command == QLatin1String("job check") ? QSet<QString>() : jobNew},
             {main, kCommon}});
    }
    return main;
}
