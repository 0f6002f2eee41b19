#pragma once

#include "sim/model.h"
#include "sim/port_link.h"
#include "sim/pty_pair.h"

#include <string>

namespace quvex::sim {

// The unit's serial adapter as the panel finds it: a pseudo-terminal, the comN link to it and the
// announce line on stdout. It can be pulled and plugged in again like a USB adapter; each plug
// gives a new device, and the link and a new announce line follow it.
class Adapter
{
public:
    Adapter(Model model, int com)
        : m_model(model)
        , m_com(com)
    {
    }

    bool plug(std::string &error);
    void unplug() { m_pty.close(); }
    const PtyPair &pty() const { return m_pty; }

private:
    Model m_model;
    int m_com;
    bool m_plugged_before = false;
    PtyPair m_pty;
    PortLink m_link;
};

} // namespace quvex::sim
