#pragma once

#include <string_view>

namespace quvex::sim {

// The --trace log on stderr: one time-stamped line per line received or answer sent, with control
// bytes spelled out so that CR, LF and stray bytes can be told apart.
class TraceLog
{
public:
    explicit TraceLog(bool enabled)
        : m_enabled(enabled)
    {
    }

    void log(std::string_view what, std::string_view bytes = {});

private:
    bool m_enabled;
};

} // namespace quvex::sim
