#pragma once

namespace quvex::link {

// Flags and the tick clock shared by every exchange. Failures travel here, not as results:
// unit-wide loops clear both error flags before they start and test them after each item.
struct LinkState
{
    static constexpr int kTickLimit = 1000;

    int tick_count = 0;
    bool bulk_mode = false;
    bool wrong_type_error = false;
    bool no_response_error = false;
    bool warn_disconnected = true;
};

} // namespace quvex::link
