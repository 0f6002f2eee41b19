#pragma once

#include "link/serial_port.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>

namespace quvex::test {

// A serial port with a QUVEX unit behind it, on virtual time. Every step() either delivers the
// next due piece of an answer into the input buffer or advances the clock by one 100 ms tick,
// so exchanges run their real wait loops without waiting a real second.
// The unit keeps one set of picture items per video standard and scan mode, as real units do.
class FakeUnit final : public link::SerialPort
{
public:
    enum class Behaviour { Answer, Silent, AnswerUnknown };

    // SerialPort
    void set_port_number(int number) override { m_port_number = number; }
    bool set_open(bool open) override;
    bool is_open() const override { return m_open; }
    bool send(const QByteArray &bytes) override;
    qint64 bytes_waiting() const override { return m_input.size(); }
    QByteArray read_waiting() override;
    void discard_input() override { m_input.clear(); }

    // Virtual time: deliver a due answer piece, or advance one tick and call on_tick.
    void step();
    std::function<void()> on_tick;
    int now() const { return m_now; }

    // Driving the unit
    bool refuse_open = false;
    // A pulled cable: nothing sent arrives and nothing comes back, until plugged in again.
    void unplug();
    void plug() { m_plugged = true; }
    Behaviour behaviour = Behaviour::Answer;
    QSet<QString> unknown_names; // wire names answered with "?"
    QSet<QString> silent_names;  // wire names never answered
    QSet<QString> noisy_names;   // wire names answered with noise and no number
    int answer_delay_ticks = 0;
    // Replaces the unit's answer to the next line sent; each entry is one piece arriving
    // in its own event-processing turn.
    void script_next_answer(QList<QByteArray> pieces) { m_scripted.append(pieces); }
    // Bytes that arrive without being asked for (a late answer, noise).
    void inject(const QByteArray &bytes) { m_input += bytes; }

    void set_value(const QString &wire_name, double value) { m_values[wire_name] = value; }
    void set_picture_value(int video_std, int overscan, const QString &wire_name, double value);
    double value(const QString &wire_name) const { return m_values.value(wire_name); }
    double picture_value(int video_std, int overscan, const QString &wire_name) const;
    int video_std() const { return static_cast<int>(m_values.value(QStringLiteral("VideoStd"))); }
    int overscan() const { return static_cast<int>(m_values.value(QStringLiteral("Overscan"))); }

    // Observing
    int port_number() const { return m_port_number; }
    int open_count() const { return m_open_count; }
    const QByteArray &sent() const { return m_sent; }
    QStringList sent_lines() const; // each line without its CR
    void clear_sent() { m_sent.clear(); }

private:
    struct Piece
    {
        int due;
        QByteArray bytes;
    };

    QByteArray answer_to(const QByteArray &line);
    QString picture_key(const QString &wire_name) const;

    bool m_open = false;
    bool m_plugged = true;
    int m_port_number = 0;
    int m_open_count = 0;
    int m_now = 0;
    QByteArray m_input;
    QByteArray m_sent;
    QByteArray m_partial_line;
    QList<Piece> m_pending;
    QList<QList<QByteArray>> m_scripted;
    QHash<QString, double> m_values;
};

} // namespace quvex::test
