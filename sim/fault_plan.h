#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    // Lines whose acknowledgement a noisy line garbles: each entry once, at the first line heard
    // that reads it.
    std::vector<std::string> garble;
};

// What a garbled answer arrives as: one byte that is neither ">" nor text.
inline constexpr char kGarbledAnswer = '\x9F';

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
        bool vanish = false;  // the adapter is pulled once this line is answered
        bool garbled = false; // obey it, but answer kGarbledAnswer alone
    };

    explicit FaultPlan(const Faults &faults);

    Verdict next(std::string_view line);
    void garble(std::string line) { m_faults.garble.push_back(std::move(line)); }

private:
    Faults m_faults;
    long m_lines = 0;
    std::mt19937 m_random;
};

} // namespace quvex::sim
