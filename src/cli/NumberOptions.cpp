#include "cli/NumberOptions.h"

#include "cli/CliArguments.h"

#include <QCommandLineParser>

QString readNumberOptions(
    const QCommandLineParser& parser,
    std::initializer_list<std::pair<const char*, std::optional<qint64>*>> options)
{
    for (const auto& [name, target] : options) {
        if (!parser.isSet(name)) continue;
        *target = parseCliNumber(parser.value(name));
        if (!*target) {
            return QStringLiteral(
                       "--%1 takes a number (decimal, or hexadecimal after 0x), not "
                       "'%2'")
                .arg(QLatin1String(name), parser.value(name));
        }
    }
    return {};
}
