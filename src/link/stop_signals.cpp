#include "stop_signals.h"

#include <cstdlib>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quvex::link {

#ifdef Q_OS_UNIX

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// All a handler may reach: the end of the socketpair it writes to.
volatile std::sig_atomic_t g_write_fd = -1;

void on_signal(int number)
{
    const int saved_errno = errno;
    const auto byte = static_cast<unsigned char>(number);
    // A full socket holds signals enough already; the one lost changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_write_fd, &byte, 1);
    errno = saved_errno;
}

} // namespace

StopSignals::~StopSignals()
{
    if (m_read < 0)
        return;
    for (const int number : kStopSignals) {
        struct sigaction current
        {};
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler == on_signal)
            std::signal(number, SIG_DFL);
    }
    g_write_fd = -1;
    ::close(m_read);
    ::close(m_write);
}

bool StopSignals::install(std::function<void()> on_stop, std::function<void()> last_words)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    m_read = ends[0];
    m_write = ends[1];
    m_on_stop = std::move(on_stop);
    m_last_words = std::move(last_words);
    g_write_fd = m_write;
    m_notifier = std::make_unique<QSocketNotifier>(m_read, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { deliver(); });

    struct sigaction ignore
    {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    bool installed = ::sigaction(SIGPIPE, &ignore, nullptr) == 0;
    struct sigaction action
    {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kStopSignals) {
        // A signal ignored from the start stays ignored: nohup means the hang-up is not a stop.
        struct sigaction before
        {};
        installed = ::sigaction(number, nullptr, &before) == 0 && installed;
        if (before.sa_handler != SIG_IGN)
            installed = ::sigaction(number, &action, nullptr) == 0 && installed;
    }
    return installed;
}

void StopSignals::deliver()
{
    if (m_read < 0)
        return;
    unsigned char numbers[8];
    ssize_t count = 0;
    while ((count = ::read(m_read, numbers, sizeof numbers)) > 0 || (count < 0 && errno == EINTR)) {
        for (ssize_t i = 0; i < count; ++i) {
            if (m_caught != 0) {
                if (m_last_words)
                    m_last_words();
                end_by(numbers[i]);
            }
            m_caught = numbers[i];
            if (m_on_stop)
                m_on_stop();
        }
    }
}

void StopSignals::end_by(int signal)
{
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal); // not reached for a signal whose default ends the program
}

#else

StopSignals::~StopSignals() = default;

bool StopSignals::install(std::function<void()>, std::function<void()>)
{
    return false;
}

void StopSignals::deliver()
{
}

void StopSignals::end_by(int signal)
{
    std::_Exit(128 + signal);
}

#endif

int StopSignals::finish(int code) const
{
    if (m_caught != 0)
        end_by(m_caught);
    return code;
}

} // namespace quvex::link
