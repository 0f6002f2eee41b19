#include "sim/wrong_baud.h"

#include <cmath>

namespace quvex::sim {

std::string heard_at_9600(std::string_view sent, int unit_baud)
{
    // Time in the receiver's bit times; the unit's bits are `width` of them long.
    const double width = 9600.0 / unit_baud;
    const auto frame_bits = static_cast<long>(sent.size()) * 10;
    // The line idles high; each byte goes out as a low start bit, data from bit 0, a high stop bit.
    const auto unit_bit = [&](long index) {
        if (index < 0 || index >= frame_bits)
            return 1;
        const long position = index % 10;
        if (position == 0 || position == 9)
            return position == 9 ? 1 : 0;
        return (static_cast<unsigned char>(sent[std::size_t(index / 10)]) >> (position - 1)) & 1;
    };
    const auto level = [&](double time) { return unit_bit(static_cast<long>(std::floor(time / width))); };

    std::string heard;
    double hunt_from = 0;
    // The line only falls where a unit bit begins.
    for (long edge = 0; edge < frame_bits; ++edge) {
        const double start = edge * width;
        if (start < hunt_from || unit_bit(edge) != 0 || unit_bit(edge - 1) != 1)
            continue;
        if (level(start + 0.5) != 0) { // too short for a start bit: a glitch
            hunt_from = start + 0.5;
            continue;
        }
        int byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            byte |= level(start + 1.5 + bit) << bit;
        const bool framed = level(start + 9.5) == 1;
        heard.push_back(framed ? static_cast<char>(byte) : '\0');
        hunt_from = start + 9.5;
    }
    return heard;
}

} // namespace quvex::sim
