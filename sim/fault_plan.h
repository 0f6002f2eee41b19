#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace quvex::sim {

struct Faults
{
    bool silent = false;
    bool answer_unknown = false;
    int drop_every = 0; // 0: never
    bool noise = false;
    int vanish_after = 0; // 0: never
    int wrong_baud = 0;   // the rate the unit answers at; 0: the panel's own
    std::uint32_t seed = 1;
};

// Decides, line by line, how a misbehaving unit treats what the panel sent.
class FaultPlan
{
public:
    struct Verdict
    {
        bool heard = true;    // false: the line was lost on its way in
        bool answered = true; // false: the unit obeys but its transmit line is dead
        bool refused = false; // answer "?" whatever the line was, and do not obey it
        std::optional<char> stray;
        bool vanish = false; // the adapter is pulled once this line is answered
    };

    explicit FaultPlan(const Faults &faults);

    Verdict next();

private:
    Faults m_faults;
    long m_lines = 0;
    std::mt19937 m_random;
};

} // namespace quvex::sim
