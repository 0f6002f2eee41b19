#include "sim/line_framer.h"

namespace quvex::sim {

std::vector<Line> LineFramer::feed(std::string_view bytes)
{
    std::vector<Line> lines;
    for (const char byte : bytes) {
        if (byte == '\n')
            continue;
        if (byte != '\r') {
            if (m_pending.size() >= kMaxLine) {
                m_overlong = true;
                m_pending.clear();
            }
            if (!m_overlong)
                m_pending.push_back(byte);
            continue;
        }
        if (m_overlong || !m_pending.empty())
            lines.push_back({std::move(m_pending), m_overlong});
        m_pending.clear();
        m_overlong = false;
    }
    return lines;
}

} // namespace quvex::sim
