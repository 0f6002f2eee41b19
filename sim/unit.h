#pragma once

#include "sim/model.h"
#include "sim/state_file.h"
#include "sim/unit_items.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace quvex::sim {

// The unit's side of the protocol: takes one line from the panel and gives the exact bytes the
// unit sends back. Keeps the current values and the stored ones that Reset returns to.
class Unit
{
public:
    using Report = std::function<void(const std::string &)>;

    // With a state path, stored values come from that file and StoreSettings writes it.
    explicit Unit(Model model, std::string state_path = {}, Report report = {});

    std::string handle(std::string_view line);

private:
    std::string read(std::string_view name) const;
    std::string write(std::string_view name, std::string_view text);
    bool run_command(std::string_view name);
    std::string key(const Item &item, const std::string &wire) const;
    double value(const std::string &key) const;

    std::map<std::string, const Item *, std::less<>> m_known;
    Values m_current;
    Values m_stored;
    std::string m_state_path;
    Report m_report;
};

} // namespace quvex::sim
