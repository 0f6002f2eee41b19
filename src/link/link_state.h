#pragma once

namespace quvex::link {

// Flags and the tick clock shared by every exchange. The error flags hold the failures of the
// operation in progress: each operation clears them at its start and tests them after an
// exchange, so one failure ends the action with one warning.
struct LinkState
{
    static constexpr int kTickLimit = 1000;

    int tick_count = 0;
    bool bulk_mode = false;
    bool wrong_type_error = false;
    bool no_response_error = false;
    bool warn_disconnected = true;
    // Set for good once the program is ending: every operation from then on has failed.
    bool stopping = false;
};

} // namespace quvex::link
