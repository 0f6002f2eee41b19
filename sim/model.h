#pragma once

#include <optional>
#include <string_view>

namespace quvex::sim {

// Which member of the QUVEX family the simulator plays, and which catalogue items it admits.
enum class Model { Qvl, Qvm, Qvmx, Qvmk, Qk1, Qk2 };

std::optional<Model> parse_model(std::string_view code);
std::string_view model_code(Model model);

// The panel matches model lists by plain substring ("QVMK" admits QVM too); the unit has to
// answer for exactly the same items or the panel would see "?" for items it offers.
bool model_admits(std::string_view models, Model model);

} // namespace quvex::sim
