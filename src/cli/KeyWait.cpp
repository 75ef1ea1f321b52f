#include "cli/KeyWait.h"

#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>

#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <optional>

namespace {

// Ctrl+D as a terminal without line mode passes it on.
constexpr char kEndOfTransmission = 0x04;

// The terminal without line mode and echo while it lives; Ctrl+C still raises SIGINT.
class KeyMode {
public:
    explicit KeyMode(int descriptor) : m_descriptor(descriptor)
    {
        termios mode{};
        if (::tcgetattr(descriptor, &mode) != 0) return;
        m_saved = mode;
        mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        mode.c_cc[VMIN] = 1;
        mode.c_cc[VTIME] = 0;
        ::tcsetattr(descriptor, TCSANOW, &mode);
    }
    ~KeyMode()
    {
        if (m_saved) ::tcsetattr(m_descriptor, TCSANOW, &*m_saved);
    }
    KeyMode(const KeyMode&) = delete;
    KeyMode& operator=(const KeyMode&) = delete;

private:
    int m_descriptor = -1;
    std::optional<termios> m_saved;
};

}  // namespace

KeyWait::Result KeyWait::wait(char key)
{
    if (m_interrupted) return Result::Interrupted;
    const auto* file = qobject_cast<QFile*>(&m_input);
    if (file && file->handle() >= 0) return waitOnDescriptor(file->handle(), key);
    char byte = 0;
    while (m_input.getChar(&byte)) {
        if (byte == key) return Result::Key;
    }
    return Result::EndOfInput;
}

KeyWait::Result KeyWait::waitOnDescriptor(int descriptor, char key)
{
    const bool terminal = ::isatty(descriptor) == 1;
    std::optional<KeyMode> keyMode;
    if (terminal) {
        ::tcflush(descriptor, TCIFLUSH);
        if (key != '\n') keyMode.emplace(descriptor);
    }
    Result result = Result::Interrupted;
    QEventLoop loop;
    QSocketNotifier notifier(descriptor, QSocketNotifier::Read);
    connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        // One byte at a time: what follows the key is the next wait's.
        char byte = 0;
        const ssize_t count = ::read(descriptor, &byte, 1);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (count <= 0 || (keyMode && byte == kEndOfTransmission)) {
            result = Result::EndOfInput;
            loop.quit();
        } else if (byte == key) {
            result = Result::Key;
            loop.quit();
        }
    });
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
    return m_interrupted ? Result::Interrupted : result;
}

void KeyWait::interrupt()
{
    m_interrupted = true;
    if (m_loop) m_loop->quit();
}
