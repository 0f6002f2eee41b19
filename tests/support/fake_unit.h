#pragma once

#include "link/line.h"
#include "sim/fault_plan.h"
#include "sim/unit.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QStringList>

#include <functional>
#include <string_view>
#include <utility>

namespace quvex::test {

// A serial port with a QUVEX unit behind it, on virtual time. The unit is the simulator's own
// model of one (its items, factory values, one picture set per video mode, its commands), apart
// from the panel's catalogue on purpose, so a typo on either side shows. Every step() either
// delivers the next due piece of an answer or advances the clock by one 100 ms tick, so
// exchanges run their real wait loops without waiting a real second.
class FakeUnit final : public link::Line
{
public:
    enum class Behaviour { Answer, Silent, AnswerUnknown };

    // A unit of the model with this code ("QVL", "QVM", ... "QK2"), at its factory values.
    explicit FakeUnit(std::string_view model = "QVM")
        : m_unit(model_of(model))
    {
    }

    void set_port_number(int number) override { m_port_number = number; }
    bool set_open(bool open) override;
    bool is_open() const override { return m_open; }
    bool send(const QByteArray &bytes) override;
    qint64 bytes_waiting() const override { return m_input.size(); }
    QByteArray read_waiting() override { return std::exchange(m_input, {}); }
    void discard_input() override { m_input.clear(); }
    bool line_lost() const override { return !m_plugged; }

    // Virtual time: deliver a due answer piece, or advance one tick and call on_tick.
    void step();
    std::function<void()> on_tick;
    int now() const { return m_now; }

    // Driving the unit
    bool refuse_open = false;
    // Another unit put on the line, at its factory values.
    void swap_for(std::string_view model) { m_unit = sim::Unit(model_of(model)); }
    // A pulled cable: nothing sent arrives and nothing comes back, until plugged in again.
    void unplug();
    void plug() { m_plugged = true; }
    Behaviour behaviour = Behaviour::Answer;
    QSet<QString> unknown_names; // wire names answered with "?"
    QSet<QString> silent_names;  // wire names never answered
    QSet<QString> noisy_names;   // wire names answered with noise and no number
    int answer_delay_ticks = 0;
    // Ticks that pass inside send() before the line goes out, as while a network line reconnects.
    int send_ticks = 0;
    // Replaces the unit's answer to the next line sent; each entry is one piece arriving
    // in its own event-processing turn. A piece kPull pulls the cable instead.
    void script_next_answer(QList<QByteArray> pieces) { m_scripted.append(pieces); }
    static inline const QByteArray kPull = QByteArrayLiteral("<pull>");
    // The same for the next line that reads line (without its CR), once the lines scripted
    // before it have come.
    void script_answer_to(const QString &line, QList<QByteArray> pieces) { m_scripted_to.append({line, pieces}); }
    // The simulator's --garble: the first line from now on that reads line is obeyed, and
    // answered with one byte that is not ">".
    void garble(const QString &line) { m_faults.garble(line.toStdString()); }
    // Bytes that arrive without being asked for (a late answer, noise).
    void inject(const QByteArray &bytes) { m_input += bytes; }

    // The unit's values, set and read over its own protocol, as the panel would.
    void set_value(const QString &wire_name, double value);
    double value(const QString &wire_name);
    void set_picture_value(int video_std, int overscan, const QString &wire_name, double value);
    double picture_value(int video_std, int overscan, const QString &wire_name);
    int video_std() { return static_cast<int>(value(QStringLiteral("VideoStd"))); }
    int overscan() { return static_cast<int>(value(QStringLiteral("Overscan"))); }

    // Observing
    int port_number() const { return m_port_number; }
    int open_count() const { return m_open_count; }
    const QByteArray &sent() const { return m_sent; }
    QStringList sent_lines() const; // each line without its CR
    void clear_sent() { m_sent.clear(); }

private:
    static sim::Model model_of(std::string_view code) { return sim::parse_model(code).value_or(sim::Model::Qvm); }
    QByteArray answer_to(const QByteArray &line);
    QByteArray handle(const QByteArray &line) { return QByteArray::fromStdString(m_unit.handle(line.toStdString())); }
    void in_mode(int video_std, int overscan, const std::function<void()> &access);

    sim::Unit m_unit;
    bool m_open = false;
    bool m_plugged = true;
    int m_port_number = 0;
    int m_open_count = 0;
    int m_now = 0;
    QByteArray m_input;
    QByteArray m_sent;
    QByteArray m_partial_line;
    QList<std::pair<int, QByteArray>> m_pending; // answer pieces and the tick each is due at
    QList<QList<QByteArray>> m_scripted;
    QList<std::pair<QString, QList<QByteArray>>> m_scripted_to;
    sim::FaultPlan m_faults{sim::Faults{}};
};

} // namespace quvex::test
