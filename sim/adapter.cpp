#include "sim/adapter.h"

#include <cstdio>

namespace quvex::sim {

bool Adapter::plug(std::string &error)
{
    if (!m_pty.open(error))
        return false;
    if (m_com > 0
        && !(m_plugged_before ? m_link.repoint(m_pty.slave_path(), error)
                              : m_link.create(m_com, m_pty.slave_path(), error)))
        return false;
    m_plugged_before = true;
    // Tests learn the device from this line through a pipe, where it would wait unflushed.
    const auto code = model_code(m_model);
    if (std::printf("quvex-sim: %.*s on %s\n", int(code.size()), code.data(), m_pty.slave_path().c_str()) < 0
        || std::fflush(stdout) != 0) {
        error = "cannot announce the device on stdout";
        return false;
    }
    return true;
}

} // namespace quvex::sim
