#include "sim/pty_pair.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace quvex::sim {

PtyPair::~PtyPair()
{
    close();
}

void PtyPair::close()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
    m_slave_path.clear();
}

int PtyPair::unread() const
{
    // TIOCINQ misses bytes the kernel has yet to hand to the panel's side; a poll on the slave
    // finishes that hand-over first.
    pollfd slave{m_slave, POLLIN, 0};
    int count = 0;
    return m_slave >= 0 && poll(&slave, 1, 0) >= 0 && ioctl(m_slave, TIOCINQ, &count) == 0 ? count : 0;
}

bool PtyPair::open(std::string &error)
{
    const auto failed = [&error](const char *what) {
        error = std::string(what) + ": " + std::strerror(errno);
        return false;
    };
    if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
        return failed("cannot create a pseudo-terminal");
    // Raw, so that the panel's CR arrives as CR even before it sets the line up itself.
    termios tio{};
    if (tcgetattr(m_slave, &tio) != 0)
        return failed("cannot read the pseudo-terminal settings");
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    if (cfsetspeed(&tio, B9600) != 0 || tcsetattr(m_slave, TCSANOW, &tio) != 0)
        return failed("cannot make the pseudo-terminal raw");
    const int flags = fcntl(m_master, F_GETFL);
    if (flags < 0 || fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0 || fcntl(m_master, F_SETFD, FD_CLOEXEC) != 0
        || fcntl(m_slave, F_SETFD, FD_CLOEXEC) != 0)
        return failed("cannot set up the pseudo-terminal");
    char name[128];
    if (ptsname_r(m_master, name, sizeof name) != 0)
        return failed("cannot name the pseudo-terminal");
    m_slave_path = name;
    return true;
}

} // namespace quvex::sim
