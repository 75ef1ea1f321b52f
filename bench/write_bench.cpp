// Times a paced Block Write (57,600 bit/s, with the part's programming time) of a whole 24C02
// and a whole 24C1024 through the program's transfer code (EepromTransfer over ProgrammerLink,
// QtSerialPort and SteadyLinkClock) against a bare writer that puts the same bytes on the line
// with no program logic, in the same run, on qzpgm-sim as the board is: it sends nothing after
// the last chunk. The program and the bare writer take turns, so that both see the same load.
// Goal: program / bare <= 1.02 for each part. The time the program's port takes to open and
// close (Qt's lock file) is measured on its own and printed beside the ratio.
//
// Usage: bench_write [runs of each for the 24C02 (default 15)] [for the 24C1024 (default 1)]
#include "BenchSupport.h"
#include "base/DataFileReader.h"
#include "devices/DeviceCatalogue.h"
#include "link/AccessPackets.h"
#include "link/EepromTransfer.h"
#include "link/ProgrammerLink.h"
#include "link/QtSerialPort.h"
#include "link/SteadyLinkClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kBaud = 57600;
constexpr double kGoal = 1.02;
// Lets the emulator see a close before the next opening.
constexpr int kBetweenRuns = 100;  // ms

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "bench_write: %s\n", qPrintable(why));
    std::exit(1);
}

QByteArray pattern(qint64 size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + (i >> 8) * 3 + seed * 29) & 0xFF);
    }
    return bytes;
}

SelectedDevice deviceNamed(const QString& dataFile, const QString& name)
{
    const std::optional<DataFileContents> contents = readDataFile(dataFile);
    if (!contents) fail(dataFile + QStringLiteral(" cannot be read"));
    const DeviceCatalogue catalogue(contents->rows);
    const int index = catalogue.indexOf(name);
    SelectedDevice device;
    if (index < 0 || !SelectedDevice::fromRecord(catalogue.record(index), device)) {
        fail(QStringLiteral("no usable %1 in %2").arg(name, dataFile));
    }
    return device;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Medians of the program's and the bare writer's Block Writes of the whole of `name`.
void measure(const QString& dataFile, const QString& name, int runs, bool* met)
{
    const SelectedDevice device = deviceNamed(dataFile, name);
    const qint64 size = device.memorySize();
    TransferRequest request;
    request.device = device;
    request.accessSize = size;
    const TransferPlanResult planned = planTransfer(request, size);
    if (!planned.plan) fail(QStringLiteral("%1 cannot be written").arg(name));
    const TransferPlan& plan = *planned.plan;
    const QByteArray command =
        QByteArray("e") + familyDigit(plan.family) + writeLetter(plan.commandVariant);

    QTemporaryDir folder;
    const QString partFile = folder.filePath(QStringLiteral("part.bin"));
    const Emulator emulator(
        dataFile, name,
        {QStringLiteral("--baud"), QString::number(kBaud), QStringLiteral("--image"), partFile});
    LinkSettings link;
    link.devicePath = emulator.devicePath();
    QtSerialPort port;
    SteadyLinkClock clock;
    ProgrammerLink programmerLink(port, clock);
    EepromTransfer transfer(programmerLink);

    std::vector<double> program;
    std::vector<double> bare;
    std::vector<double> opening;  // the program's port opened and closed, nothing sent
    QByteArray last;
    for (int run = 0; run < 2 * runs; ++run) {
        last = pattern(size, run);
        // Turns: program, bare, bare, program, program, bare...
        const bool programTurn = (run % 4 == 0) || (run % 4 == 3);
        const auto start = std::chrono::steady_clock::now();
        if (programTurn) {
            const AccessOutcome outcome = transfer.write(link, request, last);
            if (!outcome.succeeded()) {
                fail(QStringLiteral("the write failed (outcome kind %1)")
                         .arg(static_cast<int>(outcome.kind)));
            }
            program.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        } else {
            bare.push_back(bareWrite(link.devicePath, command, plan.startPacket(), plan.endPacket(),
                                     last, plan.chunkCount));
        }
        std::fprintf(stderr, "  %s run %d: %s %.3f s\n", qPrintable(name), run / 2 + 1,
                     programTurn ? "program" : "bare", programTurn ? program.back() : bare.back());
        BareLine::pause(kBetweenRuns);
        if (programTurn) {
            const auto openStart = std::chrono::steady_clock::now();
            port.setDevicePath(link.devicePath);
            if (!port.open()) fail(QStringLiteral("the port does not open"));
            port.close();
            opening.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - openStart)
                    .count());
            BareLine::pause(kBetweenRuns);
        }
    }
    if (fileBytes(partFile) != last)
        fail(name + QStringLiteral(": the part does not hold the data"));

    const double ratio = median(program) / median(bare);
    *met = *met && ratio <= kGoal;
    std::printf(
        "%-8s %6lld bytes, %5d chunks of %2d: program %8.3f s, bare writer %8.3f s, "
        "ratio %.4f (goal <= %.2f): %s\n",
        qPrintable(name), static_cast<long long>(size),
        static_cast<int>(plan.chunkedByteCount() / plan.chunkCount), plan.chunkCount,
        median(program), median(bare), ratio, kGoal, ratio <= kGoal ? "met" : "NOT met");
    // Qt's serial port takes a lock file in /var/lock and syncs it to disk at each opening: on
    // tmpfs (a usual /run/lock) that costs nothing, on a disk it costs milliseconds.
    std::printf(
        "%-8s of the program's time, opening and closing its port: %.1f ms; without "
        "it the ratio is %.4f\n",
        qPrintable(name), median(opening) * 1e3,
        (median(program) - median(opening)) / median(bare));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const int smallRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const int largeRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;

    std::printf(
        "paced (%d bit/s) Block Write on a board that sends nothing after the last "
        "chunk; medians of %d and %d runs of each\n",
        kBaud, smallRuns, largeRuns);
    std::fflush(stdout);
    const QString dataFile = QStringLiteral(VORLE_DATA_FILE);
    bool met = true;
    measure(dataFile, QStringLiteral("24C02"), smallRuns, &met);
    measure(dataFile, QStringLiteral("24C1024"), largeRuns, &met);
    return met ? 0 : 1;
}
