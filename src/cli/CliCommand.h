#pragma once

#include <QString>

#include <optional>

// The subcommands of vorle6-cli.
enum class CliCommand { List, Detect, Read, Write, Verify, Blank, Erase };

// "read", "write", ...: the word on the command line.
[[nodiscard]] QString cliCommandName(CliCommand command);
[[nodiscard]] std::optional<CliCommand> cliCommandNamed(const QString& name);

// Whether the command works on a part (and so needs -d).
[[nodiscard]] bool cliCommandNeedsPart(CliCommand command);
