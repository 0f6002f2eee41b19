#include "sim/trace_log.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace quvex::sim {

void TraceLog::log(std::string_view what, std::string_view bytes)
{
    if (!m_enabled)
        return;
    timespec now{};
    tm local{};
    char stamp[32] = "?";
    if (clock_gettime(CLOCK_REALTIME, &now) == 0 && localtime_r(&now.tv_sec, &local))
        std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min, local.tm_sec,
                      now.tv_nsec / 1'000'000);
    std::string shown;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else if (c == '\\')
            shown += "\\\\";
        else if (byte >= 0x20 && byte < 0x7f)
            shown += c;
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            shown += hex;
        }
    }
    // Nowhere left to report a broken stderr; stop trying instead.
    if (std::fprintf(stderr, "%s %.*s %s\n", stamp, int(what.size()), what.data(), shown.c_str()) < 0)
        m_enabled = false;
}

} // namespace quvex::sim
