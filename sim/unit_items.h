#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace quvex::sim {

enum class Kind {
    Number,  // any decimal number, clamped to [0, top] when top > 0
    Choice,  // 0-based option position, clamped to [0, top]
    Fixed,   // measured by the unit: writes are acknowledged and ignored
    Picture, // one value per video standard and overscan combination
};

// One line of the unit's item table. Names are written as the catalogue shows them; the wire
// form drops the spaces.
struct Item
{
    std::string_view name;
    std::string_view models; // "all", a comma list of model codes, or "" for none
    Kind kind;
    double initial;
    double top = 0;
};

std::span<const Item> unit_items();
std::string wire_name(std::string_view name);

// Picture sets are indexed by video_std * 2 + overscan.
constexpr int kPictureSets = 4;
std::string_view picture_set_name(int set);
double picture_initial(std::string_view wire, int set);

} // namespace quvex::sim
