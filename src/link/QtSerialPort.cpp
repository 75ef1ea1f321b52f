#include "link/QtSerialPort.h"

#include "link/GroupMembership.h"
#include "link/PortHolders.h"
#include "link/PortOpenFailure.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPort>

#include <algorithm>
#include <chrono>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#endif
#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace {

// Beyond the line time of what is still queued, the most a close waits for the system to
// take the bytes; a line that has gone away (adapter unplugged) gives up sooner.
constexpr auto kDrainMargin = std::chrono::seconds{2};

PortOpenFailure::Kind failureKind(QSerialPort::SerialPortError error, const QString& path)
{
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return PortOpenFailure::Kind::NotFound;
        case QSerialPort::PermissionError: {
            // Qt reports a port locked by another program as a permission error too.
            const QFileInfo device(path);
            if (device.exists() && (!device.isReadable() || !device.isWritable())) {
                return PortOpenFailure::Kind::PermissionDenied;
            }
            return PortOpenFailure::Kind::InUse;
        }
        case QSerialPort::OpenError:
            return PortOpenFailure::Kind::InUse;
        default:
            return PortOpenFailure::Kind::Other;
    }
}

}  // namespace

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent), m_port(new QSerialPort(this))
{
    setObjectName(QStringLiteral("MSComm1"));
    connect(m_port, &QSerialPort::readyRead, this, &SerialPort::bytesArrived);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onError(error); });
}

void QtSerialPort::onError(int error)
{
    // A line that has gone away fails every read from then on: Qt reports it again on every
    // pass of the event loop, which would spin the program until the port is closed.
    if (!m_port->isOpen() || (error != QSerialPort::ReadError && error != QSerialPort::WriteError &&
                              error != QSerialPort::ResourceError)) {
        return;
    }
    m_lineLost = true;
    // What came before the line went away stays readable.
    m_leftOver = m_port->readAll();
    m_port->close();
    m_port->clearError();
    emit lineLost();
}

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::open(QString* failureReason)
{
    if (m_port->isOpen()) return true;
    const QString path = m_devicePath;
    m_port->setPortName(path);
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    // Opening a port raises its lines under whatever program holds it, and root's open() goes
    // through another program's exclusive lock: a port in use is refused before it is opened.
    if (const std::optional<PortHolders::Holder> holder = PortHolders().holderOf(path)) {
        m_openFailure = {};
        m_openFailure.kind = PortOpenFailure::Kind::InUse;
        m_openFailure.portNumber = m_portNumber;
        m_openFailure.devicePath = path;
        m_openFailure.holder = PortHolders::describe(*holder);
        if (failureReason) *failureReason = m_openFailure.holder;
        return false;
    }
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_openFailure = {};
        m_openFailure.kind = failureKind(m_port->error(), path);
        m_openFailure.portNumber = m_portNumber;
        m_openFailure.devicePath = path;
        m_openFailure.systemReason = m_port->errorString();
        m_openFailure.deviceGroup = QFileInfo(path).group();
        if (m_openFailure.kind == PortOpenFailure::Kind::PermissionDenied) {
            const GroupMembership membership = GroupMembership::of(m_openFailure.deviceGroup);
            m_openFailure.userName = membership.userName;
            m_openFailure.memberNotYetActive = membership.listed && !membership.active;
        }
        if (failureReason) *failureReason = m_openFailure.systemReason;
        m_port->clearError();
        return false;
    }
    m_openFailure = {};
    // A pseudo-terminal or a bare three-wire adapter cannot drive the lines; the data path
    // works regardless, so a refusal here is not a failure to open.
    m_port->setRequestToSend(m_rts);
    m_port->setDataTerminalReady(m_dtr);
    m_port->clearError();
    m_wakeCount = 1;
    m_lineLost = false;
    m_leftOver.clear();
    requestLowLatency();
    return true;
}

void QtSerialPort::requestLowLatency()
{
#ifdef Q_OS_LINUX
    // USB serial adapters hold received bytes back for up to 16 ms (the FTDI latency timer)
    // before passing them on. Every chunk of a transfer waits for its answer, so that delay
    // would rule the transfer time; low-latency mode passes bytes on at once. Drivers and
    // pseudo-terminals without the setting refuse it, and nothing else changes.
    const int handle = static_cast<int>(m_port->handle());
    serial_struct serial{};
    if (handle >= 0 && ::ioctl(handle, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(handle, TIOCSSERIAL, &serial);
    }
#endif
}

bool QtSerialPort::isOpen() const { return m_port->isOpen(); }

void QtSerialPort::close()
{
    if (!m_port->isOpen()) return;
    drain();
    m_port->close();
    m_port->clearError();
}

void QtSerialPort::drain()
{
    // Qt queues written bytes and hands them to the system from the event loop; a close
    // straight after the last write would drop them. Push them out, then let the driver
    // empty its own queue onto the line before the handle goes.
    const qint64 queued = m_port->bytesToWrite();
    const auto lineTime = std::chrono::ceil<std::chrono::milliseconds>(kByteTime * queued);
    QDeadlineTimer deadline(lineTime + kDrainMargin);
    m_port->flush();
    while (m_port->bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port->waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) break;
    }
#ifdef Q_OS_UNIX
    const int handle = static_cast<int>(m_port->handle());
    if (handle >= 0) {
        while (::tcdrain(handle) != 0 && errno == EINTR) {
        }
    }
#endif
}

void QtSerialPort::write(const QByteArray& bytes)
{
    if (!m_port->isOpen() || bytes.isEmpty()) return;
#ifdef Q_OS_UNIX
    // With nothing queued the bytes go straight to the driver, which takes a chunk at once:
    // Qt's own write path would watch the handle for writability after every chunk, a wake-up
    // of the event loop each time for nothing.
    if (m_port->bytesToWrite() == 0) {
        const int handle = static_cast<int>(m_port->handle());
        qsizetype written = 0;
        while (written < bytes.size()) {
            const ssize_t count = ::write(handle, bytes.constData() + written,
                                          static_cast<size_t>(bytes.size() - written));
            if (count > 0) {
                written += count;
            } else if (count < 0 && errno == EINTR) {
                continue;
            } else {
                break;
            }
        }
        if (written == bytes.size()) return;
        m_port->write(bytes.mid(written));
        m_port->flush();
        return;
    }
#endif
    m_port->write(bytes);
    // Hand the bytes to the system now rather than at the next event-loop pass, so that the
    // protocol's pauses between commands are pauses on the line too.
    m_port->flush();
}

int QtSerialPort::receivedCount() const
{
    return m_port->isOpen() ? static_cast<int>(m_port->bytesAvailable())
                            : static_cast<int>(m_leftOver.size());
}

QByteArray QtSerialPort::takeAll()
{
    return m_port->isOpen() ? m_port->readAll() : std::exchange(m_leftOver, {});
}

void QtSerialPort::expectBytes(int count)
{
#ifdef Q_OS_UNIX
    // In raw mode with VTIME 0 the terminal driver reports the line readable only once VMIN
    // bytes are queued, so a 16-byte chunk wakes the program once instead of 16 times.
    const int wakeCount = std::clamp(count, 1, 255);
    if (!m_port->isOpen() || wakeCount == m_wakeCount) return;
    const int handle = static_cast<int>(m_port->handle());
    termios settings{};
    if (::tcgetattr(handle, &settings) != 0 || settings.c_cc[VTIME] != 0) return;
    settings.c_cc[VMIN] = static_cast<cc_t>(wakeCount);
    if (::tcsetattr(handle, TCSANOW, &settings) == 0) m_wakeCount = wakeCount;
#else
    Q_UNUSED(count);
#endif
}

void QtSerialPort::discard()
{
    m_leftOver.clear();
    if (!m_port->isOpen()) return;
    m_port->clear(QSerialPort::Input);
    m_port->readAll();
}
