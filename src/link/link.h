#pragma once

#include "catalogue/value.h"
#include "link_state.h"
#include "operator_side.h"
#include "serial_port.h"

#include <QString>

namespace quvex::link {

// Owns the port and the link state, and runs the two exchanges with the unit. An exchange
// is a plain call that waits for the unit while window events keep flowing; it reports its
// own failures to the operator and records them in the state's flags.
class Link
{
public:
    static constexpr int kWriteTimeoutTicks = 10; // waits while tick_count <= this: 11 ticks
    static constexpr int kReadTimeoutTicks = 5;   // 6 ticks
    // An answer that never ends is kept to this size; a real answer is a few bytes.
    static constexpr qsizetype kAnswerLimit = 4096;

    static const QString kNoResponseText;
    static const QString kErrorTitle;

    Link(SerialPort &port, OperatorSide &operator_side);

    LinkState &state() { return m_state; }
    const LinkState &state() const { return m_state; }
    bool is_port_open() const { return m_port.is_open(); }
    int port_number() const { return m_port_number; }

    void Timer1_Timer();
    void open_port();
    void close_port();
    void commport_Change(const QString &text);

    void send_item_value(const QString &name, double value);
    catalogue::Value query_item_value(const QString &name);

private:
    bool refuse_while_closed(const QString &warning);
    void send_line(const QString &text);
    void show_no_response();

    SerialPort &m_port;
    OperatorSide &m_operator;
    LinkState m_state;
    int m_port_number = 1;
};

} // namespace quvex::link
