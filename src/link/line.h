#pragma once

#include <QByteArray>
#include <QString>

namespace quvex::link {

// The line to the unit, a serial port or a network connection, as the link uses it: exactly
// these operations.
// Sending returns once the line is out, which for a line that must connect again first can take
// a moment (events keep flowing meanwhile); received bytes only arrive while events are processed.
class Line
{
public:
    virtual ~Line() = default;

    // Takes effect at the next open.
    virtual void set_port_number(int number) = 0;
    // Opens or closes the line; false when it could not be opened.
    virtual bool set_open(bool open) = 0;
    virtual bool is_open() const = 0;
    // Why the last open failed, in words the operator can act on; empty when nothing is known.
    virtual QString open_failure() const { return {}; }
    // False when the line is gone and could not be opened or connected again: nothing was sent.
    virtual bool send(const QByteArray &bytes) = 0;
    virtual qint64 bytes_waiting() const = 0;
    // Every byte received and not yet read; empty when none. Never waits.
    virtual QByteArray read_waiting() = 0;
    // Drops every byte received and not yet read, including what the operating system still
    // holds for the port, so that a late answer to an earlier line never meets the next one.
    virtual void discard_input() = 0;
    // True while the device is gone (what was sent since may never have left); the next line
    // sent tries to open it again.
    virtual bool line_lost() const { return false; }
};

} // namespace quvex::link
