#include "cli/StreamReader.h"

#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>

#include <unistd.h>
#include <array>
#include <cerrno>

namespace {

constexpr qint64 kPieceBytes = 65536;

}  // namespace

StreamReader::Result StreamReader::read()
{
    if (m_interrupted) return Result::Interrupted;
    const auto* file = qobject_cast<QFile*>(&m_device);
    if (file && file->handle() >= 0) return readDescriptor(file->handle());
    std::array<char, kPieceBytes> piece{};
    for (;;) {
        const qint64 count = m_device.read(piece.data(), kPieceBytes);
        if (count < 0) {
            m_error = m_device.errorString();
            return Result::Failed;
        }
        if (count == 0) return Result::Read;
        if (!take(piece.data(), count)) return Result::TooLong;
    }
}

StreamReader::Result StreamReader::readDescriptor(int descriptor)
{
    Result result = Result::Interrupted;
    QEventLoop loop;
    // Bytes are read only once the descriptor has them, so no read waits outside the loop.
    QSocketNotifier notifier(descriptor, QSocketNotifier::Read);
    std::array<char, kPieceBytes> piece{};
    connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        const ssize_t count = ::read(descriptor, piece.data(), piece.size());
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (count < 0) {
            m_error = qt_error_string(errno);
            result = Result::Failed;
        } else if (count == 0) {
            result = Result::Read;
        } else if (take(piece.data(), count)) {
            return;
        } else {
            result = Result::TooLong;
        }
        notifier.setEnabled(false);
        loop.quit();
    });
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
    return m_interrupted ? Result::Interrupted : result;
}

bool StreamReader::take(const char* bytes, qint64 count)
{
    m_bytes.append(bytes, count);
    return m_bytes.size() <= m_limit;
}

void StreamReader::interrupt()
{
    m_interrupted = true;
    if (m_loop) m_loop->quit();
}
