#include "cli/RunArguments.h"

#include "cli/CommandWord.h"

#include <QCommandLineParser>

namespace {

// Options that take a value, so that the scan for the command word skips their values.
const QStringList kValueOptions{"-p",   "--port",    "--rts", "--dtr",
                                "--db", "--station", "--key", "--data"};

}  // namespace

bool isRunCommandLine(const QStringList& arguments)
{
    return commandWordOf(arguments, kValueOptions) == QLatin1String("run");
}

RunParse parseRunArguments(const QStringList& arguments)
{
    RunParse result;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions({
        {{"p", "port"}, {}, "PORT"},
        {"rts", {}, "on|off"},
        {"dtr", {}, "on|off"},
        {"db", {}, "URL"},
        {"station", {}, "NAME"},
        {"loop", {}},
        {"key", {}, "K"},
        {"json", {}},
        {{"q", "quiet"}, {}},
        {{"v", "verbose"}, {}},
        {"data", {}, "FILE"},
    });
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    const QStringList words = parser.positionalArguments();
    if (words.size() < 2) {
        result.error = QStringLiteral("run needs the job file: run JOB -p PORT");
        return result;
    }
    if (words.size() > 2) {
        result.error = QStringLiteral("unexpected argument '%1'").arg(words.at(2));
        return result;
    }
    RunOptions options;
    options.job = words.at(1);
    options.ports = parser.values("port");
    options.database = parser.value("db");
    options.station = parser.value("station");
    options.loop = parser.isSet("loop");
    options.json = parser.isSet("json");
    options.quiet = parser.isSet("quiet");
    options.dataFile = parser.value("data");
    for (const char* line : {"rts", "dtr"}) {
        if (!parser.isSet(line)) continue;
        const QString value = parser.value(line).toLower();
        std::optional<bool>& setting =
            QLatin1String(line) == QLatin1String("rts") ? options.rts : options.dtr;
        if (value == QLatin1String("on") || value == QLatin1String("1")) {
            setting = true;
        } else if (value == QLatin1String("off") || value == QLatin1String("0")) {
            setting = false;
        } else {
            result.error = QStringLiteral("--%1 takes on or off, not '%2'")
                               .arg(QLatin1String(line), parser.value(line));
            return result;
        }
    }
    if (parser.isSet("key")) {
        const QString key = parser.value("key");
        if (!options.loop) {
            result.error = QStringLiteral("--key says what starts the next round: give --loop");
            return result;
        }
        if (key.compare(QLatin1String("enter"), Qt::CaseInsensitive) == 0) {
            options.key = '\n';
        } else if (key.compare(QLatin1String("space"), Qt::CaseInsensitive) == 0) {
            options.key = ' ';
        } else if (key.size() == 1 && key.at(0).unicode() > ' ' && key.at(0).unicode() < 0x7F) {
            options.key = static_cast<char>(key.at(0).unicode());
        } else {
            result.error =
                QStringLiteral("--key takes one character, space or enter, not '%1'").arg(key);
            return result;
        }
    }
    if (options.station.isEmpty() && parser.isSet("station")) {
        result.error = QStringLiteral("--station needs a name");
        return result;
    }
    result.options = options;
    return result;
}

QString runHelpText()
{
    return QStringLiteral(
        "  vorle6-cli run JOB [-p PORT]... [--db URL] [--station NAME] [--loop [--key K]]\n"
        "                       write the job into a chip on every board at once, each with\n"
        "                       numbers of its own, verify and record them in the line database\n"
        "  --station NAME       the station in the log (default: this computer's name)\n"
        "  --loop               round after round: Enter (or --key K: a character, or space)\n"
        "                       starts the next; Ctrl+C or Ctrl+D ends with the counts. Ctrl+C\n"
        "                       during a round ends after it; a second one stops the writes\n");
}
