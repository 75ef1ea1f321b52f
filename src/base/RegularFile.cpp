#include "base/RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

RegularFileOpening openRegularFile(QFile& file, const QString& path, QString& error)
{
    // A device is not even opened: opening a serial port alone can reset the board behind it.
    if (isSpecialFile(path)) return RegularFileOpening::NotRegular;
    // Opening without blocking, then looking at what was opened, leaves no moment in which
    // the path could be swapped for a pipe between the look and the open.
    const QByteArray nativePath = QFile::encodeName(path);
    const int descriptor =
        ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        error = qt_error_string(errno);
        return RegularFileOpening::Failed;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        error = qt_error_string(errno);
        ::close(descriptor);
        return RegularFileOpening::Failed;
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        if (S_ISDIR(status.st_mode)) {
            error = qt_error_string(EISDIR);
            return RegularFileOpening::Failed;
        }
        return RegularFileOpening::NotRegular;
    }
    // Reads of a regular file never wait, so the flag changes nothing; cleared all the same.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        ::close(descriptor);
        return RegularFileOpening::Failed;
    }
    return RegularFileOpening::Opened;
}
