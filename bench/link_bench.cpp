// Times a Block Write and a Block Read of a whole 1 Mbit part (131,072 bytes, 8,192 chunks of
// 16) through the program's transfer code (EepromTransfer over ProgrammerLink, QtSerialPort and
// SteadyLinkClock) against qzpgm-sim on a pseudo-terminal.
//
//   unpaced  the emulator answers as fast as it can: what the program itself adds per chunk
//   paced    the emulator keeps the line time of 57600 bit/s and the part's programming time:
//            how close the transfer comes to the line's limit, and the program's CPU share
//
// The window side of an access (the control lock, the grid rebuild after a read) is left out.
// Usage: bench_link [unpaced runs (default 5)] [paced runs (default 1, 0 to skip)]
#include "BenchSupport.h"
#include "base/DataFileReader.h"
#include "devices/DeviceCatalogue.h"
#include "image/MemoryImage.h"
#include "link/EepromTransfer.h"
#include "link/ProgrammerLink.h"
#include "link/QtSerialPort.h"
#include "link/SteadyLinkClock.h"
#include "sim/SocketPart.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

const QString kDeviceName = QStringLiteral("24C1024");
constexpr qint64 kPartSize = 131072;
constexpr int kChunk = 16;
constexpr int kChunks = kPartSize / kChunk;
constexpr int kBaud = 57600;
constexpr double kBitsPerByte = 10.0;
// Per chunk on the line: a read is "@" then 16 data bytes, a write 16 data bytes then "@".
constexpr int kLineBytesPerChunk = kChunk + 1;
// The fixed pauses of one access: 50 ms between the identification queries, 10 ms after the
// preparation command, after each half of the header and after each address packet.
constexpr double kFixedPauses = 0.050 + 5 * 0.010;
// The bytes before the first chunk: "??", the 17-byte identification, "E" "e2P", "P",
// "E" "e2r" (or "e2w") and the two 4-byte address packets.
constexpr int kSetupBytes = 2 + 17 + 4 + 1 + 4 + 8;

struct Sample {
    double wall = 0;  // seconds
    double cpu = 0;   // seconds, this process (all its threads)
};

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QByteArray pattern(int seed)
{
    QByteArray bytes(kPartSize, '\0');
    for (qint64 i = 0; i < kPartSize; ++i) {
        bytes[i] = static_cast<char>((i + (i >> 8) * 3 + (i >> 16) * 11 + seed * 29) & 0xFF);
    }
    return bytes;
}

// One program side for one emulator: the port, clock and transfer code every front-end uses.
class Program {
public:
    Program(const QString& devicePath, const SelectedDevice& device)
        : m_link(m_port, m_clock), m_transfer(m_link)
    {
        m_settings.devicePath = devicePath;
        m_request.device = device;
        m_request.accessSize = kPartSize;
        m_image.recreate(kPartSize);
    }

    Sample run(const std::function<AccessOutcome()>& access)
    {
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const AccessOutcome outcome = access();
        const auto end = std::chrono::steady_clock::now();
        const double cpu = processCpuSeconds() - cpuStart;
        if (!outcome.succeeded()) {
            std::fprintf(stderr, "the access failed (outcome kind %d)\n",
                         static_cast<int>(outcome.kind));
            std::exit(1);
        }
        return {std::chrono::duration<double>(end - start).count(), cpu};
    }

    Sample write(const QByteArray& contents)
    {
        return run([&] { return m_transfer.write(m_settings, m_request, contents); });
    }

    Sample read(const QByteArray& expected)
    {
        m_image.recreate(kPartSize);
        const Sample sample = run([&] { return m_transfer.read(m_settings, m_request, m_image); });
        if (m_image.bytes() != expected) {
            std::fprintf(stderr, "the part read back differs from what was written\n");
            std::exit(1);
        }
        return sample;
    }

private:
    QtSerialPort m_port;
    SteadyLinkClock m_clock;
    ProgrammerLink m_link;
    EepromTransfer m_transfer;
    LinkSettings m_settings;
    TransferRequest m_request;
    MemoryImage m_image;
};

struct Series {
    std::vector<double> wall;
    std::vector<double> cpu;
    void add(const Sample& sample)
    {
        wall.push_back(sample.wall);
        cpu.push_back(sample.cpu);
    }
};

// Writes then reads the part `runs` times, a different pattern each time, so each read also
// checks the write before it.
std::pair<Series, Series> measure(const SelectedDevice& device, const Emulator& emulator, int runs)
{
    Program program(emulator.devicePath(), device);
    Series writes;
    Series reads;
    for (int run = 0; run < runs; ++run) {
        const QByteArray contents = pattern(run + 1);
        writes.add(program.write(contents));
        reads.add(program.read(contents));
        std::fprintf(stderr, "  run %d: write %.3f s, read %.3f s\n", run + 1, writes.wall.back(),
                     reads.wall.back());
    }
    return {writes, reads};
}

void printUnpaced(const char* name, const Series& series)
{
    const double wall = median(series.wall);
    const double cpu = median(series.cpu);
    std::printf(
        "unpaced %-5s wall %7.3f s   CPU %7.3f s   per chunk %6.1f us wall, %6.1f us CPU"
        "   (goal: wall < 1 s, < 100 us per chunk)\n",
        name, wall, cpu, wall / kChunks * 1e6, cpu / kChunks * 1e6);
}

void printPaced(const char* name, const Series& series, double programmingSeconds)
{
    const double byteTime = kBitsPerByte / kBaud;
    const double line = kChunks * kLineBytesPerChunk * byteTime;
    const double setup = kSetupBytes * byteTime + kFixedPauses;
    const double limit = line + setup + programmingSeconds;
    const double wall = median(series.wall);
    const double cpu = median(series.cpu);
    std::printf(
        "paced   %-5s wall %7.3f s   limit %7.3f s (line %.3f s + setup and pauses %.3f s"
        " + part programming %.3f s)\n",
        name, wall, limit, line, setup, programmingSeconds);
    std::printf(
        "paced   %-5s wall / limit %.4f (goal <= 1.02)   CPU %.3f s = %.2f %% of wall"
        " (goal < 5 %%)   %.1f us over the limit per chunk\n",
        name, wall / limit, cpu, 100.0 * cpu / wall, (wall - limit) / kChunks * 1e6);
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const int unpacedRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int pacedRuns = argc > 2 ? std::max(0, std::atoi(argv[2])) : 1;

    const QString dataFile = QStringLiteral(VORLE_DATA_FILE);
    const std::optional<DataFileContents> contents = readDataFile(dataFile);
    if (!contents) return 1;
    const DeviceCatalogue catalogue(contents->rows);
    const int index = catalogue.indexOf(kDeviceName);
    SelectedDevice device;
    QString error;
    const std::optional<SocketPart> part = SocketPart::fromDataFile(dataFile, kDeviceName, &error);
    if (index < 0 || !SelectedDevice::fromRecord(catalogue.record(index), device) ||
        device.memorySize() != kPartSize || !part) {
        std::fprintf(stderr, "no usable %s in %s\n", qPrintable(kDeviceName), qPrintable(dataFile));
        return 1;
    }

    std::printf("Block Write and Block Read of %s: %lld bytes, %d chunks of %d bytes\n",
                qPrintable(kDeviceName), static_cast<long long>(kPartSize), kChunks, kChunk);
    std::printf("medians of %d unpaced and %d paced runs; CPU = this process, user + system\n",
                unpacedRuns, pacedRuns);
    std::fflush(stdout);

    {
        const Emulator emulator(dataFile, kDeviceName, {});
        const auto [writes, reads] = measure(device, emulator, unpacedRuns);
        printUnpaced("read", reads);
        printUnpaced("write", writes);
        const double floor = bareReadMedian(emulator.devicePath(), unpacedRuns);
        std::printf(
            "unpaced read  by a bare blocking client (emulator and pseudo-terminal only): "
            "wall %7.3f s, %6.1f us per chunk; the program adds %6.1f us per chunk\n",
            floor, floor / kChunks * 1e6, (median(reads.wall) - floor) / kChunks * 1e6);
        std::fflush(stdout);
    }
    if (pacedRuns > 0) {
        const Emulator emulator(dataFile, kDeviceName,
                                {QStringLiteral("--baud"), QString::number(kBaud)});
        const auto [writes, reads] = measure(device, emulator, pacedRuns);
        const double programming =
            kChunks * std::chrono::duration<double>(part->writeCycle).count();
        printPaced("read", reads, 0.0);
        printPaced("write", writes, programming);
        const double floor = bareReadMedian(emulator.devicePath(), 1);
        std::printf(
            "paced   read  by a bare blocking client: wall %7.3f s, ratio to the limit "
            "%.4f\n",
            floor,
            floor / (kChunks * kLineBytesPerChunk * kBitsPerByte / kBaud +
                     kSetupBytes * kBitsPerByte / kBaud + kFixedPauses));
    }
    return 0;
}
