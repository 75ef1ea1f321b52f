#include "cli/CliArguments.h"

#include "cli/NumberOptions.h"
#include "cli/ProductionArguments.h"
#include "cli/RunArguments.h"

#include <QCommandLineParser>
#include <QSet>

namespace {

constexpr qint64 kMostReads = 9;

// The options each command takes beyond --data, --json, -q, --help and --version.
QSet<QString> optionsOf(CliCommand command)
{
    const QSet<QString> port{"port", "rts", "dtr"};
    const QSet<QString> range{"device", "access-size", "offset", "length"};
    const QSet<QString> overwrite{"reads", "backup", "changed-only"};
    switch (command) {
        case CliCommand::List:
            return {};
        case CliCommand::Detect:
            return port + QSet<QString>{"search"};
        case CliCommand::Read:
            return port + range + QSet<QString>{"output", "format", "swap16", "reads"};
        case CliCommand::Write:
            return port + range + overwrite +
                   QSet<QString>{"input", "format", "truncate", "force", "swap16", "no-verify"};
        case CliCommand::Verify:
            return port + range +
                   QSet<QString>{"input", "format", "truncate", "force", "swap16", "reads"};
        case CliCommand::Blank:
            return port + range + QSet<QString>{"reads"};
        case CliCommand::Erase:
            return port + range + overwrite + QSet<QString>{"no-verify"};
    }
    return {};
}

std::optional<bool> parseSwitch(const QString& text)
{
    const QString word = text.toLower();
    if (word == QLatin1String("on") || word == QLatin1String("1")) return true;
    if (word == QLatin1String("off") || word == QLatin1String("0")) return false;
    return std::nullopt;
}

}  // namespace

std::optional<qint64> parseCliNumber(const QString& text)
{
    bool ok = false;
    qint64 value = 0;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        value = trimmed.mid(2).toLongLong(&ok, 16);
        if (trimmed.size() < 3) ok = false;
    } else {
        value = trimmed.toLongLong(&ok, 10);
    }
    if (!ok || value < 0 || trimmed.startsWith(QLatin1Char('+'))) return std::nullopt;
    return value;
}

CliParse parseCliArguments(const QStringList& arguments)
{
    CliParse result;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help({"h", "help"}, {});
    const QCommandLineOption version({"V", "version"}, {});
    parser.addOptions({
        help,
        version,
        {{"v", "verbose"}, {}},
        {{"d", "device"}, {}, "PART"},
        {{"p", "port"}, {}, "PORT"},
        {"rts", {}, "on|off"},
        {"dtr", {}, "on|off"},
        {"access-size", {}, "N"},
        {"offset", {}, "A"},
        {"length", {}, "N"},
        {{"i", "input"}, {}, "FILE"},
        {{"o", "output"}, {}, "FILE"},
        {"format", {}, "hex|srec|bin"},
        {"search", {}},
        {"truncate", {}},
        {"force", {}},
        {"swap16", {}},
        {"no-verify", {}},
        {"reads", {}, "N"},
        {"backup", {}, "DIR"},
        {"changed-only", {}},
        {{"q", "quiet"}, {}},
        {"json", {}},
        {"data", {}, "FILE"},
    });
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.help = true;
        return result;
    }
    if (parser.isSet(version)) {
        result.version = true;
        return result;
    }

    const QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        result.error = QStringLiteral("no command given");
        return result;
    }
    const std::optional<CliCommand> command = cliCommandNamed(words.first());
    if (!command) {
        result.error = QStringLiteral("unknown command '%1'").arg(words.first());
        return result;
    }
    if (words.size() > 1) {
        result.error = QStringLiteral("unexpected argument '%1'").arg(words.at(1));
        return result;
    }

    const QSet<QString> allowed = optionsOf(*command);
    for (const QString& name : parser.optionNames()) {
        const QString longName = [&] {
            for (const auto& [shortName, full] : {std::pair{"d", "device"},
                                                  {"p", "port"},
                                                  {"i", "input"},
                                                  {"o", "output"},
                                                  {"q", "quiet"},
                                                  {"v", "verbose"}}) {
                if (name == QLatin1String(shortName)) return QString::fromLatin1(full);
            }
            return name;
        }();
        if (longName == QLatin1String("data") || longName == QLatin1String("json") ||
            longName == QLatin1String("quiet") || longName == QLatin1String("verbose") ||
            allowed.contains(longName)) {
            continue;
        }
        result.error =
            QStringLiteral("--%1 does not apply to %2").arg(longName, cliCommandName(*command));
        return result;
    }

    CliOptions options;
    options.command = *command;
    options.part = parser.value("device");
    options.ports = parser.values("port");
    options.input = parser.value("input");
    options.output = parser.value("output");
    options.search = parser.isSet("search");
    options.truncate = parser.isSet("truncate");
    options.force = parser.isSet("force");
    options.swap16 = parser.isSet("swap16");
    options.noVerify = parser.isSet("no-verify");
    options.backupFolder = parser.value("backup");
    options.changedOnly = parser.isSet("changed-only");
    options.quiet = parser.isSet("quiet");
    options.json = parser.isSet("json");
    options.dataFile = parser.value("data");

    for (const char* line : {"rts", "dtr"}) {
        if (!parser.isSet(line)) continue;
        const std::optional<bool> value = parseSwitch(parser.value(line));
        if (!value) {
            result.error = QStringLiteral("--%1 takes on or off, not '%2'")
                               .arg(QLatin1String(line), parser.value(line));
            return result;
        }
        (QLatin1String(line) == QLatin1String("rts") ? options.rts : options.dtr) = value;
    }
    result.error = readNumberOptions(parser, {{"access-size", &options.accessSize},
                                              {"offset", &options.offset},
                                              {"length", &options.length}});
    if (!result.error.isEmpty()) return result;
    if (parser.isSet("reads")) {
        const std::optional<qint64> reads = parseCliNumber(parser.value("reads"));
        if (!reads || *reads < 1 || *reads > kMostReads) {
            result.error = QStringLiteral("--reads takes a number from 1 to %1, not '%2'")
                               .arg(kMostReads)
                               .arg(parser.value("reads"));
            return result;
        }
        options.reads = static_cast<int>(*reads);
    }
    if (parser.isSet("backup") && options.backupFolder.isEmpty()) {
        result.error = QStringLiteral("--backup needs the folder to save the part in");
        return result;
    }
    if (parser.isSet("format")) {
        options.format = imageFormatNamed(parser.value("format"));
        if (!options.format) {
            result.error = QStringLiteral("--format takes hex, srec or bin, not '%1'")
                               .arg(parser.value("format"));
            return result;
        }
    }

    if (cliCommandNeedsPart(*command) && options.part.isEmpty()) {
        result.error = QStringLiteral("%1 needs the part: -d PART (see 'vorle6-cli list')")
                           .arg(cliCommandName(*command));
        return result;
    }
    if (*command == CliCommand::Read && options.output.isEmpty()) {
        result.error = QStringLiteral("read needs the file to write: -o FILE");
        return result;
    }
    if (*command == CliCommand::Read && options.output == QLatin1String("-") && options.json) {
        result.error = QStringLiteral(
            "-o - puts the image on standard output, where --json puts the results: give -o "
            "FILE, or leave out --json");
        return result;
    }
    if ((*command == CliCommand::Write || *command == CliCommand::Verify) &&
        options.input.isEmpty()) {
        result.error =
            QStringLiteral("%1 needs the file to take: -i FILE").arg(cliCommandName(*command));
        return result;
    }
    if (options.search && !options.ports.isEmpty()) {
        result.error = QStringLiteral("--search asks every serial device present; leave out -p");
        return result;
    }
    if (options.accessSize && (options.offset || options.length)) {
        result.error = QStringLiteral(
            "--access-size counts from address 0; give --offset and --length for a range");
        return result;
    }
    result.options = options;
    return result;
}

QString cliHelpText()
{
    QString text = QStringLiteral(
        "Usage:\n"
        "  vorle6-cli list                                   the parts of vorle6.ini\n"
        "  vorle6-cli detect  [-p PORT | --search]           identify the board\n"
        "  vorle6-cli read    -d PART [-p PORT] -o FILE [--reads N]   chip -> file\n"
        "  vorle6-cli write   -d PART [-p PORT] -i FILE [--no-verify] [--force]\n"
        "                     [--backup DIR] [--changed-only] [--reads N]\n"
        "  vorle6-cli verify  -d PART [-p PORT] -i FILE [--reads N]\n"
        "  vorle6-cli blank   -d PART [-p PORT] [--reads N]\n"
        "  vorle6-cli erase   -d PART [-p PORT] [--no-verify] [--backup DIR] [--changed-only]\n"
        "\n"
        "Reads, writes and checks serial EEPROMs through the QZ-PGM programmer board. Read,\n"
        "write and verify end their summary with the image's CRC-32, SHA-256 and 16-bit sum.\n"
        "\n"
        "Options:\n"
        "  -d, --device PART    a part of vorle6.ini, in any case ('vorle6-cli list')\n"
        "  -p, --port PORT      a port number 1-20 (as the window maps it) or a device path;\n"
        "                       repeat it to run on several boards at once.\n"
        "                       Default: the port chosen in the window\n"
        "  --rts on|off         the RTS line (default: the window's setting)\n"
        "  --dtr on|off         the DTR line (default: the window's setting)\n"
        "  --search             detect: ask every serial device present (never one that\n"
        "                       another program holds) until the board answers\n"
        "  --access-size N      only the first N bytes\n"
        "  --offset A --length N  only the range A .. A+N-1\n"
        "                       (numbers in decimal or 0x hex; a range starts and ends on the\n"
        "                       part's block size: its page size up to 16, 16 for Microwire)\n"
        "  -i, --input FILE     the image to write or verify\n"
        "  -o, --output FILE    the image to read into; with several ports, %p in the name\n"
        "                       becomes each port's name (image-%p.hex)\n"
        "  --format hex|srec|bin  the file format whatever the extension (in any case)\n"
        "                       Files: .hex .ihx .ihex Intel HEX, .s19 .s28 .s37 .srec .mot\n"
        "                       S-records, .bin raw bytes; each an image from address 0;\n"
        "                       - is standard input or output and needs --format\n"
        "  --truncate           leave out a file's data beyond the end of the part\n"
        "  --force              take a file whose Intel HEX records overlap, and write one\n"
        "                       whose size does not fit the part (larger, or smaller by\n"
        "                       more than a page)\n"
        "  --swap16             the file's bytes are swapped in pairs, as tools that read\n"
        "                       93Cxx parts in x16 organisation save them (Microwire parts)\n"
        "  --no-verify          write or erase without reading back\n"
        "  --reads N            read the chip N times (1-9) and compare the reads: reads that\n"
        "                       differ mean an unreliable contact (clip, socket, wires) and\n"
        "                       fail; from 3 reads a byte most reads agree on is taken.\n"
        "                       Write and erase: the reads before and after them\n"
        "  --backup DIR         write, erase: first read the whole part and save it in DIR as\n"
        "                       PART_YYYYMMDD-HHMMSS_PORT.bin (raw bytes from address 0); if\n"
        "                       that fails, nothing is written. The window keeps its backups\n"
        "                       in ~/.local/share/VORLE/backups\n"
        "  --changed-only       write, erase: read the range first and send only the blocks\n"
        "                       the chip does not hold yet (the verify still reads it all)\n"
        "  -q, --quiet          errors only\n"
        "  --json               one JSON object per board on standard output, and one for\n"
        "                       a command refused before any board (not with -o -)\n"
        "  --data FILE          the parts from FILE instead of vorle6.ini beside the program\n"
        "  -v, --verbose        every command and reply on the serial line, on standard error\n"
        "  -h, --help           this text\n"
        "  -V, --version        the version\n"
        "\n");
    text += productionHelpText();
    text += runHelpText();
    text += QStringLiteral(
        "\n"
        "Exit codes: 0 done, 1 usage error, 2 file error (an image, the parts file, a job file or\n"
        "the line database), 3 port unusable or no board, 4 transfer failed, 5 verify mismatch\n"
        "or not blank, 130 interrupted; with several boards the highest of them.\n");
    return text;
}

QSet<QString> cliCommandOptions(CliCommand command) { return optionsOf(command); }
