#pragma once

#include <string>

namespace quvex::sim {

// The "comN" link in the panel's ports folder, so the panel finds the simulator by port number.
// It is removed again on the way out, but only while it still points at this simulator.
class PortLink
{
public:
    PortLink() = default;
    PortLink(const PortLink &) = delete;
    PortLink &operator=(const PortLink &) = delete;
    ~PortLink();

    // Replaces an existing link only when it points at a pseudo-terminal that is gone.
    bool create(int com, const std::string &target, std::string &error);
    // Points the link made by create() at a new device, under the same rule; without one, does nothing.
    bool repoint(const std::string &target, std::string &error);

private:
    std::string m_path;
    std::string m_target;
};

} // namespace quvex::sim
