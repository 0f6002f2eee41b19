#pragma once

#include <QByteArrayView>

namespace quvex::link {

// What can happen on the wire beside the bytes themselves.
enum class WireEvent {
    WriteTimedOut,   // no byte within the write's 11 ticks
    ReadTimedOut,    // no line feed within the read's 6 ticks
    UnknownAnswer,   // the answer began with "?"
    LineLost,        // the device is gone: nothing can be sent or heard
    LineOpenedAgain, // a line sent after a loss went out
    NotText,         // a failed exchange got mostly bytes that are not text
};

// Added to the log, the status line and quvexctl's standard error wherever NotText is reported.
inline constexpr const char *kNotTextHint =
    "Bytes arrived that are not text: is the unit set to 9600 baud (BaudRate=23)?";

// Watches the link's wire: every line sent, the bytes that came for each exchange, and the
// events. Reported as they happen, in order, from inside the exchanges: an observer does its
// own formatting and must be quick, since the unit is waiting.
class WireObserver
{
public:
    // Late: bytes that came after their exchange had ended, dropped before the next line.
    enum class Arrival { Answer, Late };

    virtual ~WireObserver() = default;

    virtual void line_sent(QByteArrayView line) = 0;
    virtual void bytes_arrived(QByteArrayView bytes, Arrival arrival) = 0;
    virtual void wire_event(WireEvent event) = 0;
};

} // namespace quvex::link
