// qzpgm-sim: a QZ-PGM programmer board with firmware 6.00 on a serial line, for trying and
// testing the program without hardware. See README.md, "Trying it without a board".
#include "sim/BoardFirmware.h"
#include "sim/LineLog.h"
#include "sim/PartMemory.h"
#include "sim/SimLine.h"
#include "sim/SimRunner.h"
#include "sim/SocketPart.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "qzpgm-sim: %s\n", qPrintable(message));
    return 2;
}

std::optional<int> numberOption(const QCommandLineParser& parser, const QString& name)
{
    if (!parser.isSet(name)) return std::nullopt;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok) return -1;
    return value;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qzpgm-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Emulates a QZ-PGM programmer board with an EEPROM in its socket on a serial line.\n"
        "Prints the device to open (a new pseudo-terminal, or the --port given) on the first "
        "line of its output. SIGUSR1 switches the board off and on."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("link"),
         QStringLiteral("Make a symbolic link PATH to the pseudo-terminal."),
         QStringLiteral("PATH")},
        {QStringLiteral("port"), QStringLiteral("Serve the existing tty PATH instead."),
         QStringLiteral("PATH")},
        {QStringLiteral("device"), QStringLiteral("Emulate the data file's device NAME."),
         QStringLiteral("NAME")},
        {QStringLiteral("data"),
         QStringLiteral("Data file for --device (default: vorle6.ini beside this program)."),
         QStringLiteral("FILE")},
        {QStringLiteral("size-exponent"), QStringLiteral("Part of 2^N bytes (with --family)."),
         QStringLiteral("N")},
        {QStringLiteral("family"), QStringLiteral("2 = I2C 24Cxx, 3 = Microwire 93Cxx."),
         QStringLiteral("F")},
        {QStringLiteral("page-size"), QStringLiteral("Page write size (default: the usual one)."),
         QStringLiteral("P")},
        {QStringLiteral("image"),
         QStringLiteral("Keep the part's contents in FILE (created blank 0xFF)."),
         QStringLiteral("FILE")},
        {QStringLiteral("baud"), QStringLiteral("Pace every byte at this line rate (57600)."),
         QStringLiteral("RATE")},
        {QStringLiteral("firmware"), QStringLiteral("Firmware version, four characters (6.00)."),
         QStringLiteral("X.XX"), QStringLiteral("6.00")},
        {QStringLiteral("fault"),
         QStringLiteral("Inject a failure (repeatable): ") + FaultPlan::kindNames().join(", "),
         QStringLiteral("KIND[@N]")},
        {QStringLiteral("log"), QStringLiteral("Record every byte on the line in FILE."),
         QStringLiteral("FILE")},
        {QStringLiteral("once"),
         QStringLiteral("End when the program first closes the pseudo-terminal.")},
        {QStringLiteral("ready-after-last"),
         QStringLiteral("Answer the last chunk of a write with \"@\" once it is programmed.")},
        {QStringLiteral("forgiving"),
         QStringLiteral("Abandon a write when the port closes or the line goes quiet, instead of "
                        "waiting for the rest of its range.")},
        {QStringLiteral("wp"),
         QStringLiteral("The part's write-protect pin is high: writes go through, nothing is "
                        "stored.")},
    });
    parser.process(app);

    QString error;
    std::optional<SocketPart> part;
    if (parser.isSet(QStringLiteral("device"))) {
        const QString dataFile = parser.isSet(QStringLiteral("data"))
                                     ? parser.value(QStringLiteral("data"))
                                     : QDir(QCoreApplication::applicationDirPath())
                                           .filePath(QStringLiteral("vorle6.ini"));
        part = SocketPart::fromDataFile(dataFile, parser.value(QStringLiteral("device")), &error);
    } else if (parser.isSet(QStringLiteral("size-exponent")) &&
               parser.isSet(QStringLiteral("family"))) {
        part = SocketPart::fromGeometry(
            numberOption(parser, QStringLiteral("family")).value_or(0),
            numberOption(parser, QStringLiteral("size-exponent")).value_or(0),
            numberOption(parser, QStringLiteral("page-size")).value_or(0), &error);
    } else {
        error = QStringLiteral("name the part: --device NAME, or --size-exponent N --family F");
    }
    if (!part) return fail(error);

    BoardFirmware::Config config;
    config.firmwareVersion = parser.value(QStringLiteral("firmware"));
    if (config.firmwareVersion.size() != 4) {
        return fail(QStringLiteral("--firmware takes four characters, like 6.00"));
    }
    for (const QString& fault : parser.values(QStringLiteral("fault"))) {
        if (!config.faults.add(fault, &error)) return fail(error);
    }
    config.readyAfterLast = parser.isSet(QStringLiteral("ready-after-last"));
    config.forgiving = parser.isSet(QStringLiteral("forgiving"));
    config.writeProtect = parser.isSet(QStringLiteral("wp"));
    SimRunner::Settings settings;
    settings.once = parser.isSet(QStringLiteral("once"));
    if (parser.isSet(QStringLiteral("baud"))) {
        settings.baud = numberOption(parser, QStringLiteral("baud")).value_or(-1);
        if (settings.baud <= 0) return fail(QStringLiteral("--baud takes a positive rate"));
        config.programmingTime = true;
    }

    PartMemory memory(part->size());
    if (parser.isSet(QStringLiteral("image")) &&
        !memory.attachFile(parser.value(QStringLiteral("image")), &error)) {
        return fail(error);
    }
    LineLog log;
    if (parser.isSet(QStringLiteral("log")) &&
        !log.open(parser.value(QStringLiteral("log")), &error)) {
        return fail(error);
    }

    SimRunner::installSignalHandling();
    SimLine line;
    const bool opened = parser.isSet(QStringLiteral("port"))
                            ? line.openTty(parser.value(QStringLiteral("port")), &error)
                            : line.createPty(parser.value(QStringLiteral("link")), &error);
    if (!opened) return fail(error);

    std::printf("%s\n", qPrintable(line.devicePath()));
    std::fflush(stdout);
    std::fprintf(stderr, "qzpgm-sim: %s (family %d, %lld bytes, page %d), firmware %s\n",
                 qPrintable(part->name), static_cast<int>(part->family),
                 static_cast<long long>(part->size()), part->pageSize,
                 qPrintable(config.firmwareVersion));
    log.event(QStringLiteral("board on %1: %2, family %3, %4 bytes, page %5, firmware %6")
                  .arg(line.devicePath(), part->name)
                  .arg(static_cast<int>(part->family))
                  .arg(part->size())
                  .arg(part->pageSize)
                  .arg(config.firmwareVersion));

    BoardFirmware firmware(*part, memory, config);
    SimRunner runner(line, firmware, log, settings);
    return runner.run();
}
