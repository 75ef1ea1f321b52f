#include "sim/SimLine.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }
}  // namespace

SimLine::~SimLine() { close(); }

bool SimLine::createPty(const QString& linkPath, QString* error)
{
    m_fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0 || ::grantpt(m_fd) != 0 || ::unlockpt(m_fd) != 0) {
        *error = QStringLiteral("pseudo-terminal: ") + systemError();
        close();
        return false;
    }
    m_ownsPty = true;
    m_devicePath = QString::fromLocal8Bit(::ptsname(m_fd));
    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch < 0 || ::inotify_add_watch(m_watch, m_devicePath.toLocal8Bit().constData(),
                                           IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        *error = QStringLiteral("watching %1: %2").arg(m_devicePath, systemError());
        close();
        return false;
    }
    // Termios requests on the master act on the slave: the program finds a raw line even
    // before it sets its own modes, so nothing the board sends is echoed back to it.
    if (!makeRaw(error)) return false;

    if (linkPath.isEmpty()) return true;
    const QFileInfo existing(linkPath);
    if (!existing.isSymLink() && existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
        return false;
    }
    // The link changes its target in one step: a program that opens it after a hang-up finds
    // either the old line or the new one, never no link at all.
    const QString newLink = linkPath + QStringLiteral(".new");
    QFile::remove(newLink);
    if (::symlink(m_devicePath.toLocal8Bit().constData(), newLink.toLocal8Bit().constData()) != 0 ||
        ::rename(newLink.toLocal8Bit().constData(), linkPath.toLocal8Bit().constData()) != 0) {
        *error = QStringLiteral("%1: %2").arg(linkPath, systemError());
        QFile::remove(newLink);
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

bool SimLine::renewPty(QString* error)
{
    // The link stays until the new line replaces its target.
    const QString linkPath = std::exchange(m_linkPath, QString());
    close();
    return createPty(linkPath, error);
}

bool SimLine::openTty(const QString& path, QString* error)
{
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        *error = QStringLiteral("%1: %2").arg(path, systemError());
        return false;
    }
    m_devicePath = path;
    return makeRaw(error);
}

bool SimLine::makeRaw(QString* error)
{
    termios settings{};
    if (::tcgetattr(m_fd, &settings) != 0) {
        *error = QStringLiteral("%1: %2").arg(m_devicePath, systemError());
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~(CSTOPB | CRTSCTS);
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B57600);
    ::cfsetospeed(&settings, B57600);
    if (::tcsetattr(m_fd, TCSANOW, &settings) != 0) {
        *error = QStringLiteral("%1: %2").arg(m_devicePath, systemError());
        return false;
    }
    return true;
}

void SimLine::close()
{
    if (!m_linkPath.isEmpty()) {
        // Only the link to this emulator's device: another emulator may have taken the name.
        if (QFile::symLinkTarget(m_linkPath) == m_devicePath) {
            QFile::remove(m_linkPath);
        }
        m_linkPath.clear();
    }
    if (m_watch >= 0) ::close(m_watch);
    m_watch = -1;
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}
