#include "base/platform/termination.h"

#ifndef Q_OS_WIN
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace platform {

#ifndef Q_OS_WIN
namespace {
// The write end for the signal handler; a handler may touch nothing but this.
volatile std::sig_atomic_t g_writeFd = -1;

extern "C" void onTerminationSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    if (g_writeFd >= 0) [[maybe_unused]]
        auto n = ::write(g_writeFd, &byte, 1);
}
} // namespace
#endif

TerminationWatcher::TerminationWatcher(QObject *parent) : QObject(parent)
{
#ifndef Q_OS_WIN
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, m_fds) != 0)
        return;
    g_writeFd = m_fds[0];
    auto *notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationWatcher::readSignal);
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
#endif
}

TerminationWatcher::~TerminationWatcher()
{
#ifndef Q_OS_WIN
    if (m_fds[0] < 0)
        return;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        std::signal(sig, SIG_DFL);
    g_writeFd = -1;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
#endif
}

void TerminationWatcher::readSignal()
{
#ifndef Q_OS_WIN
    char byte = 0;
    if (::read(m_fds[1], &byte, 1) == 1)
        emit terminationRequested(static_cast<unsigned char>(byte));
#endif
}

} // namespace platform
