#include "sim/unit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace quvex::sim {

namespace {

constexpr std::string_view kAck = ">";
constexpr std::string_view kUnknown = "?\n";

// The panel only ever sends an optional '-', digits and perhaps a '.' fraction.
std::optional<double> parse_value(std::string_view text)
{
    const auto body = text.starts_with('-') ? text.substr(1) : text;
    if (body.empty() || body.front() == '.' || body.find_first_not_of("0123456789.") != std::string_view::npos
        || std::count(body.begin(), body.end(), '.') > 1)
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Measured items keep their reading whatever the panel's write-all or a state file says.
double settle(const Item &item, double value)
{
    if (item.kind == Kind::Fixed)
        return item.initial;
    if (item.kind == Kind::Choice)
        value = std::round(value);
    if (item.top > 0)
        value = std::clamp(value, 0.0, item.top);
    return value;
}

} // namespace

Unit::Unit(Model model, std::string state_path, Report report)
    : m_state_path(std::move(state_path))
    , m_report(std::move(report))
{
    for (const Item &item : unit_items()) {
        std::string wire = wire_name(item.name);
        if (!model_admits(item.models, model) || m_known.contains(wire))
            continue;
        if (item.kind == Kind::Picture) {
            for (int set = 0; set < kPictureSets; ++set)
                m_stored[wire + "@" + std::string(picture_set_name(set))] = picture_initial(wire, set);
        } else {
            m_stored[wire] = item.initial;
        }
        m_known.emplace(std::move(wire), &item);
    }
    if (!m_state_path.empty()) {
        Values saved;
        std::string error;
        if (!load_values(m_state_path, saved, error) && m_report)
            m_report(error);
        for (auto &[key, value] : m_stored) {
            if (const auto found = saved.find(key); found != saved.end())
                value = settle(*m_known.find(key.substr(0, key.find('@')))->second, found->second);
        }
    }
    m_current = m_stored;
}

std::string Unit::handle(std::string_view line)
{
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return read(line);
    return write(line.substr(0, eq), line.substr(eq + 1));
}

std::string Unit::read(std::string_view name) const
{
    const auto found = m_known.find(name);
    if (found == m_known.end())
        return std::string(kUnknown);
    return format_number(value(key(*found->second, found->first))) + "\r\n";
}

std::string Unit::write(std::string_view name, std::string_view text)
{
    const auto parsed = parse_value(text);
    if (!parsed)
        return std::string(kUnknown);
    if (run_command(name))
        return std::string(kAck);
    const auto found = m_known.find(name);
    if (found == m_known.end())
        return std::string(kUnknown);
    const Item &item = *found->second;
    m_current[key(item, found->first)] = settle(item, *parsed);
    return std::string(kAck);
}

bool Unit::run_command(std::string_view name)
{
    if (name == "Reset") {
        m_current = m_stored;
    } else if (name == "StoreSettings") {
        m_stored = m_current;
        std::string error;
        if (!m_state_path.empty() && !save_values(m_state_path, m_stored, error) && m_report)
            m_report(error);
    } else if (name == "AutoSet") {
        // What the unit would measure on a standard 640x480 input.
        m_current["VGALeft:"] = 136;
        m_current["VGATop/4:"] = 9;
        m_current["VGABot/4:"] = 129;
    } else if (name != "VGAStore") {
        return false;
    }
    return true;
}

std::string Unit::key(const Item &item, const std::string &wire) const
{
    if (item.kind != Kind::Picture)
        return wire;
    const int set = std::clamp(int(value("VideoStd")) * 2 + int(value("Overscan")), 0, kPictureSets - 1);
    return wire + "@" + std::string(picture_set_name(set));
}

double Unit::value(const std::string &key) const
{
    const auto found = m_current.find(key);
    return found == m_current.end() ? 0 : found->second;
}

} // namespace quvex::sim
