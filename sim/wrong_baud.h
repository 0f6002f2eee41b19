#pragma once

#include <string>
#include <string_view>

namespace quvex::sim {

// What the panel's receiver, at 9600 baud 8N1, makes of bytes that a unit sends at another
// rate: it takes each fall of the line for a start bit and samples eight data bits and a stop
// bit in the middle of its own bit times. A byte whose stop bit is missing (a framing error)
// arrives as NUL, as a Unix serial port without parity marking delivers it. At 1200 baud every
// byte heard is 0x00 or 0x80.
std::string heard_at_9600(std::string_view sent, int unit_baud);

} // namespace quvex::sim
