#pragma once

#include <QString>

#include <initializer_list>
#include <optional>
#include <utility>

class QCommandLineParser;

// Reads the number options the command line gives (each a name and where its value goes), as
// parseCliNumber takes them. Empty when every one given is a number, else the error in English.
[[nodiscard]] QString readNumberOptions(
    const QCommandLineParser& parser,
    std::initializer_list<std::pair<const char*, std::optional<qint64>*>> options);
