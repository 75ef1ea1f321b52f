// Times a production round against a plain write with verify of the same part, in the same run,
// on qzpgm-sim at the line rate (--baud 57600): the round takes the chip's numbers from the line
// database (SQLite, every commit on the disk), lays them into the image, writes and verifies it
// and records the outcome; the plain write and verify is the same chip job without the rest.
// Both go through the program's own port and clock (QtSerialPort, SteadyLinkClock), alternating,
// so that both see the same machine. Goal: a round within 1.05 times the plain write and verify.
//
// Usage: bench_production [runs of each per part (default 5)]
#include "BenchSupport.h"
#include "base/DataFileReader.h"
#include "devices/DeviceCatalogue.h"
#include "jobs/ChipJob.h"
#include "link/ProgrammerLink.h"
#include "link/QtSerialPort.h"
#include "link/SteadyLinkClock.h"
#include "production/LineDatabase.h"
#include "production/ProductionRound.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kBaud = 57600;

using Clock = std::chrono::steady_clock;

QByteArray pattern(qint64 size)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 29 + (i >> 8)) & 0xFF);
    return bytes;
}

// A job over the whole part with a serial number and a MAC address, as a line would make it.
ProductionJob benchJob(const QString& part, qint64 size)
{
    ProductionJob job;
    job.name = QStringLiteral("bench-") + part;
    job.sha256 = QString(64, QLatin1Char('a'));
    job.partName = part;
    job.partSize = size;
    job.imageSha256 = QString(64, QLatin1Char('b'));
    job.image = pattern(size);
    job.length = size;
    SerialField serial;
    serial.name = QStringLiteral("serial");
    serial.series = job.name + QStringLiteral(".serial");
    serial.address = 0x10;
    serial.length = 8;
    serial.start = 1;
    serial.last = 99999999;
    SerialField mac;
    mac.name = QStringLiteral("mac");
    mac.series = job.name + QStringLiteral(".mac");
    mac.address = 0x20;
    mac.length = SerialField::kMacBytes;
    mac.format = SerialFormat::Mac;
    mac.macPrefix = QByteArray::fromHex("02005E");
    mac.last = 0xFFFFFF;
    job.serials = {serial, mac};
    return job;
}

double seconds(const std::function<bool()>& run)
{
    const auto start = Clock::now();
    if (!run()) {
        std::fprintf(stderr, "a run did not verify\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void measure(const DeviceCatalogue& catalogue, const QString& dataFile, const QString& part,
             int runs, const QString& folder)
{
    SelectedDevice device;
    const int index = catalogue.indexOf(part);
    if (index < 0 || !SelectedDevice::fromRecord(catalogue.record(index), device)) {
        std::fprintf(stderr, "no usable %s\n", qPrintable(part));
        std::exit(1);
    }
    const Emulator emulator(dataFile, part, {QStringLiteral("--baud"), QString::number(kBaud)});
    RoundOrder order;
    order.job = benchJob(part, device.memorySize());
    order.device = device;
    order.station = QStringLiteral("bench");
    order.database.path = QDir(folder).filePath(part + QStringLiteral(".sqlite"));
    LineDatabase database;
    if (database.open(order.database, order.station).isFailure()) {
        std::fprintf(stderr, "cannot open the line database\n");
        std::exit(1);
    }
    LinkSettings link;
    link.devicePath = emulator.devicePath();
    ChipJobOrder plain;
    plain.kind = ChipJobOrder::Kind::Write;
    plain.link = link;
    plain.request = ChipJobOrder::wholePart(device);
    plain.image = order.job.image;
    plain.checkAfter = true;

    QtSerialPort port;
    SteadyLinkClock clock;
    ProgrammerLink programmer(port, clock);
    const std::atomic<bool> stop{false};
    std::vector<double> plainSeconds;
    std::vector<double> roundSeconds;
    for (int run = 0; run < runs; ++run) {
        plainSeconds.push_back(seconds([&] { return ChipJob(programmer).run(plain).succeeded(); }));
        roundSeconds.push_back(seconds([&] {
            ProductionRound round(programmer, database);
            return round.run(order, link, stop).passed();
        }));
        std::fprintf(stderr, "  %s run %d: write and verify %.3f s, production round %.3f s\n",
                     qPrintable(part), run + 1, plainSeconds.back(), roundSeconds.back());
    }
    const double plainMedian = median(plainSeconds);
    const double roundMedian = median(roundSeconds);
    std::printf(
        "%-6s %6lld bytes  write and verify %7.3f s  production round %7.3f s  "
        "round / plain = %.4f (goal <= 1.05)\n",
        qPrintable(part), static_cast<long long>(device.memorySize()), plainMedian, roundMedian,
        roundMedian / plainMedian);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const QString dataFile = QStringLiteral(VORLE_DATA_FILE);
    const std::optional<DataFileContents> contents = readDataFile(dataFile);
    if (!contents) return 1;
    const DeviceCatalogue catalogue(contents->rows);
    // The database lives on the disk the program would use, not in memory.
    QTemporaryDir folder(QDir::current().filePath(QStringLiteral("bench-production-XXXXXX")));
    std::printf(
        "production round (numbers taken, written, verified, recorded on SQLite) against a"
        " plain write with verify, %d bit/s, medians of %d runs each\n",
        kBaud, runs);
    for (const char* part : {"24C02", "24C64"}) {
        measure(catalogue, dataFile, QString::fromLatin1(part), runs, folder.path());
    }
    return 0;
}
