// Times a verify of a whole 1 Mbit part (131,072 bytes, 8,192 chunks of 16) against a Block
// Read of it, both at the line rate: qzpgm-sim keeps the line time of 57,600 bit/s, and the
// program runs its own transfer code (ChipJob and EepromTransfer over ProgrammerLink,
// QtSerialPort and SteadyLinkClock). A verify is a read into a scratch image and a comparison,
// so it should take no longer than the read: the goal is verify / read <= 1.03.
//
// Reads and verifies alternate, so that both see the same machine load. The part's contents
// come from a file, so no paced write is needed first.
// Usage: bench_verify [runs of each (default 3)]
#include "base/DataFileReader.h"
#include "devices/DeviceCatalogue.h"
#include "image/MemoryImage.h"
#include "jobs/ChipJob.h"
#include "link/EepromTransfer.h"
#include "link/ProgrammerLink.h"
#include "link/QtSerialPort.h"
#include "link/SteadyLinkClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QString kDeviceName = QStringLiteral("24C1024");
constexpr qint64 kPartSize = 131072;
constexpr int kBaud = 57600;
constexpr double kGoal = 1.03;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "bench_verify: %s\n", qPrintable(why));
    std::exit(1);
}

QByteArray pattern()
{
    QByteArray bytes(kPartSize, '\0');
    for (qint64 i = 0; i < kPartSize; ++i) {
        bytes[i] = static_cast<char>((i + (i >> 8) * 3 + (i >> 16) * 11) & 0xFF);
    }
    return bytes;
}

SelectedDevice shippedDevice(const QString& dataFile)
{
    const std::optional<DataFileContents> contents = readDataFile(dataFile);
    if (!contents) fail(dataFile + QStringLiteral(" cannot be read"));
    const DeviceCatalogue catalogue(contents->rows);
    const int index = catalogue.indexOf(kDeviceName);
    SelectedDevice device;
    if (index < 0 || !SelectedDevice::fromRecord(catalogue.record(index), device) ||
        device.memorySize() != kPartSize) {
        fail(QStringLiteral("no usable %1 in %2").arg(kDeviceName, dataFile));
    }
    return device;
}

// Seconds of wall time that `access` takes; a failed access ends the benchmark.
double timed(const std::function<bool()>& access)
{
    const auto start = std::chrono::steady_clock::now();
    if (!access()) fail(QStringLiteral("the access failed"));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
    const SelectedDevice device = shippedDevice(dataFile);
    const QByteArray contents = pattern();
    const QString partFile = folder.filePath(QStringLiteral("part.bin"));
    QFile part(partFile);
    if (!part.open(QIODevice::WriteOnly) || part.write(contents) != kPartSize) {
        fail(QStringLiteral("cannot write ") + partFile);
    }
    part.close();

    QProcess emulator;
    emulator.setProgram(QStringLiteral(VORLE_SIM_PROGRAM));
    emulator.setArguments({QStringLiteral("--data"), dataFile, QStringLiteral("--device"),
                           kDeviceName, QStringLiteral("--image"), partFile,
                           QStringLiteral("--baud"), QString::number(kBaud)});
    emulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    emulator.start();
    while (!emulator.canReadLine() && emulator.waitForReadyRead(10000)) {
    }
    LinkSettings link;
    link.devicePath = QString::fromLocal8Bit(emulator.readLine()).trimmed();
    if (link.devicePath.isEmpty()) fail(QStringLiteral("qzpgm-sim did not start"));

    QtSerialPort port;
    SteadyLinkClock clock;
    ProgrammerLink programmerLink(port, clock);
    EepromTransfer transfer(programmerLink);
    ChipJob job(programmerLink);
    TransferRequest request;
    request.device = device;
    request.accessSize = kPartSize;

    std::printf("paced (%d bit/s) Block Read and verify of %s: %lld bytes, %lld chunks of 16\n",
                kBaud, qPrintable(kDeviceName), static_cast<long long>(kPartSize),
                static_cast<long long>(kPartSize / 16));
    std::fflush(stdout);
    std::vector<double> reads;
    std::vector<double> verifies;
    for (int run = 1; run <= runs; ++run) {
        reads.push_back(timed([&] {
            MemoryImage image;
            image.recreate(kPartSize);
            const AccessOutcome outcome = transfer.read(link, request, image);
            return outcome.succeeded() && image.bytes() == contents;
        }));
        verifies.push_back(timed([&] {
            ChipJobOrder order;
            order.kind = ChipJobOrder::Kind::Verify;
            order.link = link;
            order.request = request;
            order.image = contents;
            return job.run(order).succeeded();
        }));
        std::fprintf(stderr, "  run %d: read %.3f s, verify %.3f s\n", run, reads.back(),
                     verifies.back());
    }
    emulator.terminate();
    if (!emulator.waitForFinished(5000)) emulator.kill();

    const double read = median(reads);
    const double verify = median(verifies);
    std::printf("medians of %d runs each: read %.3f s, verify %.3f s\n", runs, read, verify);
    std::printf("verify / read %.4f (goal <= %.2f): %s\n", verify / read, kGoal,
                verify / read <= kGoal ? "met" : "NOT met");
    return verify / read <= kGoal ? 0 : 1;
}
