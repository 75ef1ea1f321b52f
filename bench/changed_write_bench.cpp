// Times a write of the changed chunks only against a Block Read of the whole part, both paced at
// 57,600 bit/s by qzpgm-sim, in the same run: a 24C1024 (131,072 bytes) whose image differs from
// the chip in one 16-byte chunk, written without the verify after it. Such a write reads the
// range to find what differs and then sends one short access, so it should take no longer than
// the read and that access: the goal is write <= read + 1 s.
//
// Reads and writes alternate, so that both see the same machine load; the writes alternate
// between two images, so that each finds one chunk to send.
// Usage: bench_changed_write [runs of each (default 3)]
#include "BenchSupport.h"

#include "devices/CatalogueLoad.h"
#include "devices/DeviceRecord.h"
#include "jobs/ChipJob.h"
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
#include <utility>
#include <vector>

namespace {

const QString kPart = QStringLiteral("24C1024");
constexpr qint64 kSize = 131072;
constexpr qint64 kChangedChunk = 0x10A40;
constexpr double kGoalSeconds = 1.0;

[[noreturn]] void stop(const QString& why)
{
    std::fprintf(stderr, "bench_changed_write: %s\n", qPrintable(why));
    std::exit(1);
}

SelectedDevice partNamed(const QString& dataFile)
{
    const CatalogueLoad load = loadCatalogue(dataFile);
    const int row = load.catalogue.indexOf(kPart);
    SelectedDevice device;
    if (row < 0 || !SelectedDevice::fromRecord(load.catalogue.record(row), device)) {
        stop(QStringLiteral("%1 has no usable %2").arg(dataFile, kPart));
    }
    return device;
}

// Wall seconds of `order` on `job`, and of its last access alone; a job that does not succeed
// ends the benchmark.
std::pair<double, double> secondsOf(ChipJob& job, const ChipJobOrder& order)
{
    const auto start = std::chrono::steady_clock::now();
    const ChipJobOutcome outcome = job.run(order);
    const auto end = std::chrono::steady_clock::now();
    if (!outcome.succeeded()) stop(QStringLiteral("a job failed"));
    if (order.kind == ChipJobOrder::Kind::Write && outcome.bytesWritten != 16) {
        stop(QStringLiteral("the write sent %1 bytes, not 16").arg(outcome.bytesWritten));
    }
    return {std::chrono::duration<double>(end - start).count(),
            std::chrono::duration<double>(outcome.access.elapsed).count()};
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    const QString dataFile = QStringLiteral(VORLE_DATA_FILE);
    QByteArray images[2] = {QByteArray(kSize, '\0'), {}};
    for (qint64 i = 0; i < kSize; ++i) images[0][i] = static_cast<char>((i * 13 + (i >> 9)) & 0xFF);
    images[1] = images[0];
    images[1][kChangedChunk + 5] = static_cast<char>(~images[0].at(kChangedChunk + 5));
    const QString partFile = folder.filePath(QStringLiteral("part.bin"));
    QFile part(partFile);
    if (!part.open(QIODevice::WriteOnly) || part.write(images[0]) != kSize) {
        stop(QStringLiteral("cannot write ") + partFile);
    }
    part.close();
    const Emulator emulator(
        dataFile, kPart,
        {QStringLiteral("--image"), partFile, QStringLiteral("--baud"), QStringLiteral("57600")});

    QtSerialPort port;
    SteadyLinkClock clock;
    ProgrammerLink link(port, clock);
    ChipJob job(link);
    ChipJobOrder read;
    read.kind = ChipJobOrder::Kind::Read;
    read.link.devicePath = emulator.devicePath();
    read.request = ChipJobOrder::wholePart(partNamed(dataFile));
    ChipJobOrder write = read;
    write.kind = ChipJobOrder::Kind::Write;
    write.changedOnly = true;

    std::printf(
        "paced (57600 bit/s) %s: Block Read against a write of one changed 16-byte chunk "
        "(changed only, no verify)\n",
        qPrintable(kPart));
    std::fflush(stdout);
    std::vector<double> reads;
    std::vector<double> writes;
    std::vector<double> writeAccesses;
    for (int run = 1; run <= runs; ++run) {
        reads.push_back(secondsOf(job, read).first);
        write.image = images[run % 2];
        const auto [whole, access] = secondsOf(job, write);
        writes.push_back(whole);
        writeAccesses.push_back(access);
        std::fprintf(stderr,
                     "  run %d: read %.3f s, changed-only write %.3f s (its write %.3f s)\n", run,
                     reads.back(), whole, access);
    }
    const double readMedian = median(reads);
    const double writeMedian = median(writes);
    const double over = writeMedian - readMedian;
    std::printf(
        "medians of %d runs each: read %.3f s, changed-only write %.3f s (the access that "
        "writes the chunk: %.3f s)\n",
        runs, readMedian, writeMedian, median(writeAccesses));
    std::printf("write - read %.3f s (goal <= %.1f s): %s\n", over, kGoalSeconds,
                over <= kGoalSeconds ? "met" : "NOT met");
    return over <= kGoalSeconds ? 0 : 1;
}
