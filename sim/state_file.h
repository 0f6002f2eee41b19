#pragma once

#include <map>
#include <string>

namespace quvex::sim {

// Settings the unit keeps across power cycles: one "key=value" line each.
using Values = std::map<std::string, double>;

// A missing file is not an error: the unit then starts from its factory values.
bool load_values(const std::string &path, Values &values, std::string &error);

// Goes through a temporary file and rename() so that a crash never leaves half a file.
bool save_values(const std::string &path, const Values &values, std::string &error);

std::string format_number(double value);

} // namespace quvex::sim
