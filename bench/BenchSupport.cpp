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

BareLine::BareLine(const QString& device)
{
    m_fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios settings{};
    ::tcgetattr(m_fd, &settings);
    ::cfmakeraw(&settings);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::tcsetattr(m_fd, TCSANOW, &settings);
}

BareLine::~BareLine() { ::close(m_fd); }

void BareLine::pause(int milliseconds) { ::usleep(static_cast<useconds_t>(milliseconds) * 1000); }

void BareLine::send(const QByteArray& bytes)
{
    if (::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size()) {
        std::exit(1);
    }
}

void BareLine::receive(int count)
{
    char buffer[64];
    while (count > 0) {
        const ssize_t got =
            ::read(m_fd, buffer, static_cast<size_t>(std::min<int>(count, sizeof buffer)));
        if (got <= 0) std::exit(1);
        count -= static_cast<int>(got);
    }
}

void BareLine::discardInput() { ::tcflush(m_fd, TCIFLUSH); }

void BareLine::drain() { ::tcdrain(m_fd); }

void BareLine::openAccess(const QByteArray& command, const QByteArray& startPacket,
                          const QByteArray& endPacket)
{
    discardInput();
    send("?");
    pause(50);
    discardInput();
    send("?");
    receive(17);
    send("E");
    pause(10);
    send(command.left(2) + 'P');
    receive(1);
    discardInput();
    send("E");
    pause(10);
    send(command);
    pause(10);
    send(startPacket);
    pause(10);
    send(endPacket);
    pause(10);
}

double BareReader::read()
{
    const auto start = std::chrono::steady_clock::now();
    m_line.openAccess("e2r", QByteArray::fromHex("10000000"), QByteArray::fromHex("1001FFFF"));
    for (int chunk = 0; chunk < kPartSize / kChunk; ++chunk) {
        m_line.receive(kChunk);
        m_line.send("@");
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double bareWrite(const QString& device, const QByteArray& command, const QByteArray& startPacket,
                 const QByteArray& endPacket, const QByteArray& data, int chunk)
{
    const auto start = std::chrono::steady_clock::now();
    {
        BareLine line(device);
        line.openAccess(command, startPacket, endPacket);
        for (qsizetype at = 0; at < data.size(); at += chunk) {
            line.receive(1);
            line.send(data.mid(at, chunk));
        }
        line.drain();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double bareReadMedian(const QString& device, int runs)
{
    std::vector<double> wall;
    for (int run = 0; run < runs; ++run) {
        BareReader reader(device);
        wall.push_back(reader.read());
        // Lets the emulator see the close before the next opening.
        BareLine::pause(100);
    }
    return median(wall);
}
