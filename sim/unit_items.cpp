#include "sim/unit_items.h"

#include <algorithm>

namespace quvex::sim {

namespace {

constexpr std::string_view kAll = "all";

constexpr Item choice(std::string_view name, std::string_view models, int options, int initial = 0)
{
    return {name, models, Kind::Choice, double(initial), double(options - 1)};
}

constexpr Item number(std::string_view name, std::string_view models, double initial, double top = 0)
{
    return {name, models, Kind::Number, initial, top};
}

// Where a name appears twice, the first entry that admits the model wins, as on the panel.
constexpr std::array kItems{
    choice("Overscan", kAll, 2),
    choice("Image Freeze", kAll, 2),
    number("Flicker Red.", kAll, 3),
    choice("Genlock", "QVMK", 2),
    choice("SC Ph. Shift", "QVMK", 2),
    number("SC Phase", "QVMK", 128),
    number("H Phase", "QVMK", 64),
    choice("Signal Type", "QK1,QK2", 2),
    choice("Mode", "QK1,QK2", 4),
    choice("Keyer", "QK1,QK2", 4, 2),
    number("Key Level", "QK1,QK2", 128),
    number("Fade Speed", "QK1,QK2", 8),
    choice("Fade", "QK1,QK2", 2, 1),
    number("SC Phase", "QK1,QK2", 128),
    Item{"Out H-Centre:", kAll, Kind::Picture, 0},
    Item{"Out H-Width:", kAll, Kind::Picture, 0},
    Item{"Out V-Centre:", kAll, Kind::Picture, 0},
    Item{"Out V-Height:", kAll, Kind::Picture, 0},
    choice("Zoom", kAll, 2),
    number("Pan X Pos:", kAll, 0),
    number("Pan Y Pos:", kAll, 0),
    number("VGA Left:", kAll, 128, 255),
    number("VGA Width:", kAll, 640),
    number("VGA Top/4:", kAll, 8),
    number("VGA Bot/4:", kAll, 128),
    number("ADC Ref.", "QVM,QVMX,QVMK", 160),
    number("Adj. Osc.", "QVMX,QVMK", 128),
    number("Baud Rate", "", 0),
    number("Brightness", "QK1,QK2", 128),
    choice("Buttons", "QVL,QVMX,QVMK,QK1", 2, 1),
    number("Clock width:", "QVL,QVM", 4),
    choice("Comp Sync In", "QVM", 2),
    number("CSync In Frq", "QVMX,QVMK", 31),
    number("CV Filter", "QVM,QVMX,QVMK", 2),
    number("DAC Ref.", "QVL,QVM,QVMX,QVMK", 200),
    choice("Disp Credits", "QK2", 2),
    choice("H. Soften", "QVM,QVMX,QVMK", 2),
    number("ID Restrict", kAll, 0),
    choice("Infra Red", kAll, 2, 1),
    number("LCD Contrast", "QVM", 40),
    number("Max Pix Freq", "QVM", 80),
    choice("Neg Sync Out", "QVM", 2),
    choice("Output Sig", "QVM,QVMX,QVMK", 2),
    number("RS232", "", 0),
    number("RS232 ID", "", 0),
    choice("RGB Term.", kAll, 2, 1),
    number("SC/H Phase", "QVM,QVMX,QVMK", 0),
    number("Sense", kAll, 16),
    choice("Sep Sync Out", "QVM", 2),
    choice("Sound", "QVL,QVM,QVMX,QVMK,QK1", 2, 1),
    choice("Sync In", "QVMX,QVMK", 4),
    choice("Sync Out", "QVMX,QVMK", 4),
    choice("Sync Out", "QK1,QK2", 2),
    choice("Sync/Grn In", "QVM", 2),
    Item{"Total Lines", kAll, Kind::Fixed, 625},
    Item{"Vert. Freq", kAll, Kind::Fixed, 50},
    number("Y/C Delay:", "QVM,QVMX,QVMK", 2),
    choice("Video Std", kAll, 2),
};

constexpr std::array<std::string_view, kPictureSets> kSetNames{"NTSC", "NTSC+Overscan", "PAL", "PAL+Overscan"};

// Columns follow the picture items in table order; rows follow the sets. Every value differs so
// that a read from the wrong set cannot pass unnoticed.
constexpr std::array<std::string_view, 4> kPictureWires{"OutH-Centre:", "OutH-Width:", "OutV-Centre:", "OutV-Height:"};
constexpr double kPictureInitial[kPictureSets][4]{
    {512, 640, 256, 480},
    {500, 680, 250, 500},
    {520, 720, 288, 576},
    {508, 760, 280, 600},
};

} // namespace

std::span<const Item> unit_items()
{
    return kItems;
}

std::string wire_name(std::string_view name)
{
    std::string wire(name);
    std::erase(wire, ' ');
    return wire;
}

std::string_view picture_set_name(int set)
{
    return kSetNames.at(set);
}

double picture_initial(std::string_view wire, int set)
{
    const auto column = std::find(kPictureWires.begin(), kPictureWires.end(), wire);
    return column == kPictureWires.end() ? 0 : kPictureInitial[set][column - kPictureWires.begin()];
}

} // namespace quvex::sim
