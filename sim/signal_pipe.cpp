#include "sim/signal_pipe.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quvex::sim {

namespace {

volatile std::sig_atomic_t g_write_fd = -1;

void on_signal(int number)
{
    const int saved_errno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = write(g_write_fd, &byte, 1);
    errno = saved_errno;
}

} // namespace

SignalPipe::~SignalPipe()
{
    if (m_read < 0)
        return;
    g_write_fd = -1;
    close(m_read);
    close(m_write);
}

bool SignalPipe::install(std::string &error)
{
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
        error = std::string("cannot create the signal pipe: ") + std::strerror(errno);
        return false;
    }
    m_read = ends[0];
    m_write = ends[1];
    g_write_fd = m_write;
    struct sigaction action
    {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    struct sigaction ignore
    {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    // SIGPIPE ignored: a closed stdout or stderr must show up as a failed write, not a death.
    if (sigaction(SIGINT, &action, nullptr) != 0 || sigaction(SIGTERM, &action, nullptr) != 0
        || sigaction(SIGHUP, &action, nullptr) != 0 || sigaction(SIGPIPE, &ignore, nullptr) != 0) {
        error = std::string("cannot install signal handlers: ") + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace quvex::sim
