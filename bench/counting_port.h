#pragma once

#include "link/line.h"

#include <QElapsedTimer>

#include <functional>

namespace quvex::bench {

// Stands between the link and the real port and counts what crosses the wire, and when, so the
// figures come from the panel's own traffic and need no help from the far end.
class CountingPort final : public link::Line
{
public:
    explicit CountingPort(link::Line &inner)
        : m_inner(inner)
    {
        m_clock.start();
    }

    void set_port_number(int number) override { m_inner.set_port_number(number); }
    bool set_open(bool open) override { return m_inner.set_open(open); }
    QString open_failure() const override { return m_inner.open_failure(); }
    bool is_open() const override { return m_inner.is_open(); }
    qint64 bytes_waiting() const override { return m_inner.bytes_waiting(); }
    void discard_input() override { m_inner.discard_input(); }
    bool line_lost() const override { return m_inner.line_lost(); }

    bool send(const QByteArray &bytes) override
    {
        if (m_first_sent_ms < 0)
            m_first_sent_ms = now_ms();
        m_bytes_out += bytes.size();
        ++m_lines_sent;
        return m_inner.send(bytes);
    }

    QByteArray read_waiting() override
    {
        QByteArray bytes = m_inner.read_waiting();
        if (!bytes.isEmpty())
            m_last_received_ms = now_ms();
        m_bytes_in += bytes.size();
        if (bytes.contains('\n') && on_line_end)
            on_line_end();
        return bytes;
    }

    void reset_counts()
    {
        m_bytes_out = m_bytes_in = 0;
        m_lines_sent = 0;
        m_first_sent_ms = m_last_received_ms = -1;
    }
    qint64 bytes_out() const { return m_bytes_out; }
    qint64 bytes_in() const { return m_bytes_in; }
    // Every exchange starts with exactly one line sent.
    int lines_sent() const { return m_lines_sent; }
    // From the first byte sent to the last byte received since the counts were reset.
    double span_ms() const { return m_last_received_ms - m_first_sent_ms; }
    double now_ms() const { return double(m_clock.nsecsElapsed()) / 1e6; }

    // Called as an answer's LF is read.
    std::function<void()> on_line_end;

private:
    link::Line &m_inner;
    QElapsedTimer m_clock;
    qint64 m_bytes_out = 0;
    qint64 m_bytes_in = 0;
    int m_lines_sent = 0;
    double m_first_sent_ms = -1;
    double m_last_received_ms = -1;
};

} // namespace quvex::bench
