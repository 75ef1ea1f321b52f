#pragma once

#include "cli/CliOptions.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line said: options to run, a request for help or the version, or a usage
// error in English.
struct CliParse {
    std::optional<CliOptions> options;
    bool help = false;
    bool version = false;
    QString error;  // why the line cannot be run (exit code 1)
};

// Parses `arguments` (the program name first). Checks the form of every value and which
// options the command takes; nothing is looked up here.
[[nodiscard]] CliParse parseCliArguments(const QStringList& arguments);

// The text of --help.
[[nodiscard]] QString cliHelpText();

// A byte count or address: decimal, or hexadecimal after "0x". Nothing for anything else,
// negative numbers included.
[[nodiscard]] std::optional<qint64> parseCliNumber(const QString& text);

// The long names of the options `command` takes beyond --data, --json, -q, -v, --help and
// --version.
[[nodiscard]] QSet<QString> cliCommandOptions(CliCommand command);
