#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quvex::sim {

struct Line
{
    std::string text;
    bool overlong = false;
};

// Cuts the panel's byte stream into CR-ended lines. LF and empty lines carry nothing; an
// overlong line is reported (so it can be refused) but its bytes are not kept.
class LineFramer
{
public:
    static constexpr std::size_t kMaxLine = 256;

    std::vector<Line> feed(std::string_view bytes);
    // Some of a line has arrived, but not its CR.
    bool mid_line() const { return m_overlong || !m_pending.empty(); }

private:
    std::string m_pending;
    bool m_overlong = false;
};

} // namespace quvex::sim
