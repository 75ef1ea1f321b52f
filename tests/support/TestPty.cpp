#include "support/TestPty.h"

#include <QDeadlineTimer>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

TestPty::TestPty()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return;
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    termios settings{};
    if (::tcgetattr(m_master, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(m_master, TCSANOW, &settings);
    }
}

TestPty::~TestPty()
{
    if (m_master >= 0) ::close(m_master);
}

void TestPty::send(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t result =
            ::write(m_master, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (result > 0) {
            done += result;
        } else if (result < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        }
    }
}

QByteArray TestPty::receive(int count, std::chrono::milliseconds limit)
{
    QByteArray result;
    const QDeadlineTimer deadline(limit);
    while (result.size() < count && !deadline.hasExpired()) {
        pollfd entry{m_master, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(std::min<qint64>(deadline.remainingTime(), 50))) >
            0) {
            result += receiveAvailable();
        }
    }
    return result;
}

QByteArray TestPty::receiveAvailable()
{
    QByteArray result;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            result.append(buffer, count);
        } else if (!(count < 0 && errno == EINTR)) {
            return result;
        }
    }
}
