#pragma once

#include "catalogue/catalogue.h"

#include <QString>

#include <array>

namespace quvex::panel {

// Where each catalogue entry's line sits in the adjustment list, and the option texts of the
// entry split last. Slots above option_count keep texts of earlier splits; nothing may show
// them as if they belonged to the entry split now.
struct ListState
{
    static constexpr int kOptionSlots = 10;

    ListState() { item_list_line.fill(-1); }

    std::array<int, catalogue::Catalogue::kCapacity + 1> item_list_line{};
    int list_line_count = 0;
    std::array<QString, kOptionSlots + 1> item_options; // slot 0 unused
    int option_count = 0;
};

} // namespace quvex::panel
