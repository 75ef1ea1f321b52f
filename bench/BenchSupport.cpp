#include "BenchSupport.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Emulator::Emulator(const QString& dataFile, const QString& device, const QStringList& extra)
{
    m_process.setProgram(QStringLiteral(VORLE_SIM_PROGRAM));
    m_process.setArguments(
        QStringList{QStringLiteral("--data"), dataFile, QStringLiteral("--device"), device} +
        extra);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (m_devicePath.isEmpty()) {
        std::fprintf(stderr, "qzpgm-sim did not start\n");
        std::exit(1);
    }
}

Emulator::~Emulator()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) m_process.kill();
    m_process.waitForFinished(5000);
}

namespace {

void pauseMilliseconds(int milliseconds) { ::usleep(static_cast<useconds_t>(milliseconds) * 1000); }

}  // namespace

BareReader::BareReader(const QString& device)
{
    m_fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios settings{};
    ::tcgetattr(m_fd, &settings);
    ::cfmakeraw(&settings);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::tcsetattr(m_fd, TCSANOW, &settings);
}

BareReader::~BareReader() { ::close(m_fd); }

double BareReader::read()
{
    const auto start = std::chrono::steady_clock::now();
    send("?");
    pauseMilliseconds(50);
    ::tcflush(m_fd, TCIFLUSH);
    send("?");
    receive(17);
    send("E");
    pauseMilliseconds(10);
    send("e2P");
    receive(1);
    send("E");
    pauseMilliseconds(10);
    send("e2r");
    pauseMilliseconds(10);
    send(QByteArray::fromHex("10000000"));
    pauseMilliseconds(10);
    send(QByteArray::fromHex("1001FFFF"));
    pauseMilliseconds(10);
    for (int chunk = 0; chunk < kPartSize / kChunk; ++chunk) {
        receive(kChunk);
        send("@");
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BareReader::send(const QByteArray& bytes)
{
    if (::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size()) {
        std::exit(1);
    }
}

void BareReader::receive(int count)
{
    char buffer[64];
    while (count > 0) {
        const ssize_t got = ::read(m_fd, buffer, static_cast<size_t>(count));
        if (got <= 0) std::exit(1);
        count -= static_cast<int>(got);
    }
}

double bareReadMedian(const QString& device, int runs)
{
    std::vector<double> wall;
    for (int run = 0; run < runs; ++run) {
        BareReader reader(device);
        wall.push_back(reader.read());
        // Lets the emulator see the close before the next opening.
        pauseMilliseconds(100);
    }
    return median(wall);
}
