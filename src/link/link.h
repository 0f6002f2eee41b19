#pragma once

#include "catalogue/value.h"
#include "line.h"
#include "link_state.h"
#include "operator_side.h"
#include "wire_observer.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace quvex::link {

// How a write exchange ended. NotSent covers a closed port, a value that is not sendable and an
// exchange refused because another one was still waiting or a stop was asked for: the unit heard
// nothing. LineLost: the device went away (a pulled adapter) before the line went out, so the
// unit heard nothing either. The line went out and was not acknowledged, so the unit may or may
// not have taken it: NoAnswer, not a byte came; WrongAnswer, bytes came that are not ">" ("?",
// noise), so the unit is there; AnswerLost, the device went away while the answer was awaited.
enum class WriteResult { NotSent, Accepted, NoAnswer, WrongAnswer, LineLost, AnswerLost };

// Whether the unit may have taken a line that was not acknowledged.
constexpr bool may_have_taken(WriteResult result)
{
    return result == WriteResult::NoAnswer || result == WriteResult::WrongAnswer || result == WriteResult::AnswerLost;
}

// Once a stop is asked for, only a restore of the unit's own video mode, and the reading back of
// a restore the unit did not acknowledge, still go out.
enum class Purpose { Ordinary, Restore };

// What a read exchange brought back: nothing when it was refused because another exchange
// was still waiting, so the caller keeps what it had; an empty value when no number came
// (a closed port, a device gone, silence, "?", noise), so the value is unknown; else the
// unit's number.
using Reading = std::optional<catalogue::Value>;

// Owns the port and the link state, and runs the two exchanges with the unit. An exchange
// is a plain call that waits for the unit while window events keep flowing; it reports its
// own failures to the operator and records them in the state's flags. Only one exchange is
// ever in progress: one started from an event handled during another one's wait is refused.
// What crosses the wire goes to an observer, when one is set.
// From a stop on (the program is ending) every exchange is refused but a restore, and the port
// closes without a word; the exchange in progress runs to its end.
class Link
{
public:
    // Timer1's interval: the unit's time-outs are counted in its ticks.
    static constexpr int kTickMs = 100;
    static constexpr int kWriteTimeoutTicks = 10; // waits while tick_count <= this: 11 ticks
    static constexpr int kReadTimeoutTicks = 5;   // 6 ticks
    // An answer that never ends is kept to this size; a real answer is a few bytes.
    static constexpr qsizetype kAnswerLimit = 4096;

    Link(Line &port, OperatorSide &operator_side);

    LinkState &state() { return m_state; }
    const LinkState &state() const { return m_state; }
    bool is_port_open() const { return m_port.is_open(); }
    int port_number() const { return m_port_number; }

    void Timer1_Timer();
    void open_port();
    void close_port();
    void commport_Change(const QString &text);

    WriteResult send_item_value(const QString &name, double value, Purpose purpose = Purpose::Ordinary);
    Reading query_item_value(const QString &name, Purpose purpose = Purpose::Ordinary);

    void request_stop() { m_state.stopping = true; }
    // Asks the poll first: a stop that has arrived may wait for the event loop to hand it over.
    bool stop_requested();
    // Called before every exchange, so that no line goes out after a stop has arrived.
    void set_stop_poll(std::function<void()> poll) { m_stop_poll = std::move(poll); }
    // Runs before the port is opened: whatever else in the program may hold the same port this
    // moment lets go of it first, so that the open does not find it in use.
    void set_before_open(std::function<void()> hook) { m_before_open = std::move(hook); }

    // With the port closed, warns once per connection change that writes go nowhere; true
    // while the port is closed.
    bool refuse_write_while_closed();

    // Reports what crosses the wire from now on; null stops it.
    void set_wire_observer(WireObserver *observer) { m_wire = observer; }
    // Each tells the operator and records the failure in the state's flags where it has one.
    // Whatever opens a line tells its failure with the open failure's words and the reason.
    void report_open_failure(const QString &reason);
    void report_no_response();
    // Until release_warnings(), the exchanges' messages wait; then those of the first exchange
    // that failed are shown, the detail under the last, and the later ones are dropped: a
    // restore that goes on after a failure still ends with one warning.
    void hold_warnings();
    void release_warnings(const QString &detail);

    // While the model is being found out, a "?" answer is the information sought, not a wrong
    // model: it is recorded in the flags but not shown.
    void set_unknown_answers_expected(bool expected) { m_unknown_expected = expected; }

private:
    struct HeldMessage
    {
        QString text;
        QString title;
        MessageIcon icon = MessageIcon::None;
    };

    void warn(const QString &text, const QString &title = {}, MessageIcon icon = MessageIcon::None);
    bool refuse_while_closed(const QString &warning);
    bool refuse_while_stopping(Purpose purpose) { return stop_requested() && purpose != Purpose::Restore; }
    bool send_line(const QString &text);
    void report_wrong_type();
    // After a failed exchange: what came for it may say the unit talks at another baud rate.
    void hint_if_not_text(qsizetype arrived, qsizetype not_text);
    // After an exchange's wait: a device that vanished meanwhile, what came, a wait in vain.
    void end_wait(QByteArrayView arrived, bool timed_out, WireEvent time_out);
    void note(WireEvent event);

    Line &m_port;
    OperatorSide &m_operator;
    LinkState m_state;
    int m_port_number = 1;
    bool m_in_exchange = false;
    WireObserver *m_wire = nullptr;
    // A loss reported and no line out since.
    bool m_line_down = false;
    bool m_unknown_expected = false;
    std::function<void()> m_stop_poll;
    std::function<void()> m_before_open;
    bool m_holding = false;
    // The held messages are complete once one exchange has told its failure.
    bool m_held_complete = false;
    QList<HeldMessage> m_held;
};

} // namespace quvex::link
