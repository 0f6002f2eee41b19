#pragma once

#include "sim/fault_plan.h"
#include "sim/model.h"

#include <QStringList>

#include <optional>
#include <string>

namespace quvex::sim {

struct Options
{
    Model model = Model::Qvm;
    bool pacing = true;
    int delay_ms = 0;
    int late_ms = 0;
    Faults faults;
    int vanish_for_ms = 500;
    bool chatter = false;
    int com = 0; // 0: no link in the ports folder
    std::string state_path;
    bool trace = false;
};

// Prints help or the reason for refusing the arguments itself; then gives no options and sets
// exit_code (0 after --help, 2 for bad arguments).
std::optional<Options> parse_options(const QStringList &arguments, int &exit_code);

} // namespace quvex::sim
