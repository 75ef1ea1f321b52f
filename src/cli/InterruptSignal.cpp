#include "cli/InterruptSignal.h"

#include "cli/ExitCodes.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace {

int g_pipe[2] = {-1, -1};
// A signal the event loop has not taken yet.
volatile std::sig_atomic_t g_pending = 0;

void onSignal(int)
{
    // The program is stuck where no event is served (a write to a pipe nobody reads): the
    // second signal ends it without the event loop.
    if (g_pending != 0) ::_exit(ExitCodes::kInterrupted);
    g_pending = 1;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a call blocked on a pipe or a terminal returns EINTR instead of waiting on.
    action.sa_flags = 0;
    for (const int signal : {SIGINT, SIGTERM}) ::sigaction(signal, &action, nullptr);
}

}  // namespace

InterruptSignal::InterruptSignal(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    g_pending = 0;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InterruptSignal::readPipe);
    setHandler(onSignal);
}

InterruptSignal::~InterruptSignal()
{
    if (!m_notifier) return;
    setHandler(SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void InterruptSignal::catchAgain()
{
    if (g_pipe[0] >= 0) setHandler(onSignal);
}

void InterruptSignal::readPipe()
{
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    g_pending = 0;
    setHandler(SIG_DFL);
    emit interrupted();
}
