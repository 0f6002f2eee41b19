#pragma once

#include <QByteArray>
#include <QString>

namespace quvex::serial {

// One way of reaching a unit, aimed at a target UnitLine has already resolved. A back-end only
// reports that its line was lost; opening it again, on whatever port N means by then, is
// UnitLine's.
class LineBackend
{
public:
    virtual ~LineBackend() = default;

    // A device path, or tcp://HOST:PORT; takes effect at the next open.
    virtual void set_target(const QString &target) = 0;
    // Opens or closes the line; false when it could not be opened.
    virtual bool set_open(bool open) = 0;
    virtual bool is_open() const = 0;
    // Why the last open failed, in words the operator can act on.
    virtual QString open_failure() const = 0;
    virtual void send(const QByteArray &bytes) = 0;
    virtual qint64 bytes_waiting() const = 0;
    virtual QByteArray read_waiting() = 0;
    virtual void discard_input() = 0;
    // The line was open and is gone; it stays open to the panel until closed.
    virtual bool line_lost() const = 0;
};

} // namespace quvex::serial
