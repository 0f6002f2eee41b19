#include "unit_line.h"

#include "ports/port_device.h"

namespace quvex::serial {

UnitLine::UnitLine(std::function<void()> wait_for_events)
    : m_network(std::move(wait_for_events))
{
}

bool UnitLine::open_target()
{
    // Resolved at every open: port N may have been made a network port since, or a device again.
    const QString target = m_device.isEmpty() ? ports::port_device(m_number) : m_device;
    m_line = ports::is_network_target(target) ? static_cast<LineBackend *>(&m_network) : &m_serial;
    m_line->set_target(target);
    return m_line->set_open(true);
}

bool UnitLine::set_open(bool open)
{
    if (!open) {
        m_line->set_open(false);
        m_open = false;
        m_lost = false;
        return true;
    }
    if (!m_open)
        m_open = open_target();
    return m_open;
}

bool UnitLine::send(const QByteArray &bytes)
{
    // The panel still counts the line as open after it was lost; the operator plugging the cable
    // back (or restarting the simulator or the server) must not have to reconnect by hand.
    if (line_lost()) {
        m_line->set_open(false);
        m_lost = !open_target();
        if (m_lost)
            return false;
    }
    m_line->send(bytes);
    return true;
}

} // namespace quvex::serial
