#include "sim/fault_plan.h"

#include <algorithm>

namespace quvex::sim {

FaultPlan::FaultPlan(const Faults &faults)
    : m_faults(faults)
    , m_random(faults.seed)
{
}

FaultPlan::Verdict FaultPlan::next(std::string_view line)
{
    Verdict verdict;
    ++m_lines;
    if (m_faults.drop_every > 0 && m_lines % m_faults.drop_every == 0)
        verdict.heard = verdict.answered = false;
    verdict.answered = verdict.answered && !m_faults.silent;
    verdict.refused = m_faults.answer_unknown;
    verdict.vanish = m_lines == m_faults.vanish_after;
    if (const auto garbled = std::find(m_faults.garble.begin(), m_faults.garble.end(), line);
        garbled != m_faults.garble.end()) {
        m_faults.garble.erase(garbled);
        verdict.garbled = true;
    }
    // About one answer in five; never a byte the panel could take for an answer or a line end.
    if (m_faults.noise && m_random() % 5 == 0) {
        char byte = '?';
        while (byte == '>' || byte == '?' || byte == '\r' || byte == '\n')
            byte = char(0x21 + m_random() % (0x100 - 0x21));
        verdict.stray = byte;
    }
    return verdict;
}

} // namespace quvex::sim
