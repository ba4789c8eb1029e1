#include "TerminationSignals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

TerminationSignals::TerminationSignals() : m_fd(-1)
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &signals, nullptr) == 0)
        m_fd = signalfd(-1, &signals, SFD_CLOEXEC);
}

TerminationSignals::~TerminationSignals()
{
    if (m_fd >= 0)
        close(m_fd);
}
