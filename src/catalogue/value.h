#pragma once

#include <optional>

namespace quvex::catalogue {

// An item's value as the unit last reported it: empty until the unit has reported a number.
// Wherever a number is needed an empty value counts as 0.
class Value
{
public:
    Value() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): a number is a value
    Value(double number)
        : m_number(number)
    {
    }

    bool is_empty() const { return !m_number.has_value(); }
    double number() const { return m_number.value_or(0.0); }

    friend bool operator==(const Value &, const Value &) = default;

private:
    std::optional<double> m_number;
};

} // namespace quvex::catalogue
