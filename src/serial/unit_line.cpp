#include "unit_line.h"

#include "ports/port_device.h"

namespace quvex::serial {

UnitLine::UnitLine(std::function<void()> wait_for_events)
    : m_network(std::move(wait_for_events))
{
}

void UnitLine::set_port_number(int number)
{
    m_number = number;
    m_serial.set_port_number(number);
}

bool UnitLine::set_open(bool open)
{
    if (!open || m_line->is_open())
        return m_line->set_open(open);
    // Resolved at every open: port N may have been made a network port since, or a device again.
    const QString target = m_device.isEmpty() ? ports::port_device(m_number) : m_device;
    if (ports::is_network_target(target)) {
        m_network.set_target(target);
        m_line = &m_network;
    } else {
        m_serial.set_device(m_device);
        m_line = &m_serial;
    }
    return m_line->set_open(true);
}

} // namespace quvex::serial
