#include "cli/CliCommand.h"

#include <array>
#include <utility>

namespace {

const std::array<std::pair<CliCommand, const char*>, 7> kNames{{
    {CliCommand::List, "list"},
    {CliCommand::Detect, "detect"},
    {CliCommand::Read, "read"},
    {CliCommand::Write, "write"},
    {CliCommand::Verify, "verify"},
    {CliCommand::Blank, "blank"},
    {CliCommand::Erase, "erase"},
}};

}  // namespace

QString cliCommandName(CliCommand command)
{
    for (const auto& [value, name] : kNames) {
        if (value == command) return QString::fromLatin1(name);
    }
    return {};
}

std::optional<CliCommand> cliCommandNamed(const QString& name)
{
    for (const auto& [value, text] : kNames) {
        if (name == QLatin1String(text)) return value;
    }
    return std::nullopt;
}

bool cliCommandNeedsPart(CliCommand command)
{
    return command != CliCommand::List && command != CliCommand::Detect;
}
