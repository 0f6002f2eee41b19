#include "link.h"

#include "answer_number.h"
#include "catalogue/naming.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quvex::link {

namespace {

// The unit speaks printable ASCII, CR and LF; anything else came through a garbled line.
qsizetype count_not_text(QByteArrayView bytes)
{
    return std::count_if(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x7E || (byte < 0x20 && c != '\r' && c != '\n');
    });
}

} // namespace

Link::Link(Line &port, OperatorSide &operator_side)
    : m_port(port)
    , m_operator(operator_side)
{
    m_port.set_port_number(m_port_number);
}

void Link::Timer1_Timer()
{
    if (m_state.tick_count < LinkState::kTickLimit)
        ++m_state.tick_count;
}

void Link::open_port()
{
    if (!m_port.is_open()) {
        if (m_before_open)
            m_before_open();
        if (!m_port.set_open(true))
            report_open_failure(m_port.open_failure());
    }
    if (m_port.is_open()) {
        m_state.warn_disconnected = true;
        m_operator.set_port_box_enabled(false);
    }
}

void Link::close_port()
{
    if (m_port.is_open()) {
        m_port.set_open(false);
        // Nobody is left to read it, and a box would keep a program that must end waiting.
        if (!m_state.stopping)
            m_operator.show_message(QStringLiteral("COM port closed."));
    }
    m_state.warn_disconnected = true;
    m_operator.set_port_box_enabled(true);
}

void Link::commport_Change(const QString &text)
{
    // Port numbers are 16-bit; anything else in the box leaves the number as it was.
    const double number = std::nearbyint(parse_answer_number(text.toLatin1()).value_or(0.0));
    if (number > 0 && number <= 32767) {
        m_port_number = static_cast<int>(number);
        m_port.set_port_number(m_port_number);
    }
}

bool Link::refuse_while_closed(const QString &warning)
{
    if (m_port.is_open())
        return false;
    if (m_state.warn_disconnected) {
        warn(warning);
        m_state.warn_disconnected = false;
    }
    return true;
}

bool Link::refuse_write_while_closed()
{
    return refuse_while_closed(QStringLiteral("Unit is dis-connected.  Nothing will be sent."));
}

bool Link::send_line(const QString &text)
{
    // Whatever is still waiting belongs to an earlier exchange that gave up on it (a late
    // acknowledgement); taken as this exchange's answer it would report a failure as success.
    if (m_wire && m_port.bytes_waiting() > 0) {
        const QByteArray late = m_port.read_waiting();
        m_wire->bytes_arrived(late.first(std::min(late.size(), kAnswerLimit)), WireObserver::Arrival::Late);
    }
    m_port.discard_input();
    const QByteArray line = catalogue::remove_spaces(text).toLatin1() + '\r';
    const bool was_lost = m_line_down || m_port.line_lost();
    // The time-out runs from when the line is out: a line that has to connect first (a network
    // port reconnecting) may spend up to the connect time-out in send().
    const bool sent = m_port.send(line);
    m_state.tick_count = 0;
    if (sent) {
        if (was_lost) {
            if (!std::exchange(m_line_down, false))
                note(WireEvent::LineLost); // it went and came back between two exchanges
            note(WireEvent::LineOpenedAgain);
        }
        if (m_wire)
            m_wire->line_sent(line);
        return true;
    }
    // The device is gone and not back: no answer can come, so there is nothing to wait for.
    m_line_down = true;
    note(WireEvent::LineLost);
    report_no_response();
    return false;
}

void Link::report_open_failure(const QString &reason)
{
    m_operator.show_message(QStringLiteral("Could not open COM port - please check COM port number."), {},
                            MessageIcon::None, reason);
}

void Link::report_no_response()
{
    warn(QStringLiteral(
             "QUVEX unit not responding.\rPlease check cables,\r that BaudRate=23\r and that RS232 = Control."),
         QStringLiteral("Error"), MessageIcon::Exclamation);
    m_held_complete = m_holding;
    m_state.no_response_error = true;
}

void Link::report_wrong_type()
{
    note(WireEvent::UnknownAnswer);
    if (!m_unknown_expected)
        warn(QStringLiteral("Wrong QUVEX type selected."));
    m_state.wrong_type_error = true;
}

void Link::warn(const QString &text, const QString &title, MessageIcon icon)
{
    if (!m_holding)
        m_operator.show_message(text, title, icon);
    else if (!m_held_complete)
        m_held.append({text, title, icon});
}

void Link::hold_warnings()
{
    m_holding = true;
}

void Link::release_warnings(const QString &detail)
{
    m_holding = m_held_complete = false;
    const QList<HeldMessage> held = std::exchange(m_held, {});
    for (qsizetype i = 0; i < held.size(); ++i)
        m_operator.show_message(held.at(i).text, held.at(i).title, held.at(i).icon,
                                i == held.size() - 1 ? detail : QString());
}

void Link::hint_if_not_text(qsizetype arrived, qsizetype not_text)
{
    // One stray byte is line noise; a run of them, most of what came, is a unit at another rate.
    if (not_text < 3 || 2 * not_text <= arrived)
        return;
    note(WireEvent::NotText);
    m_operator.show_hint(QString::fromLatin1(kNotTextHint));
}

void Link::end_wait(QByteArrayView arrived, bool timed_out, WireEvent time_out)
{
    // What came arrived before the loss was noticed: the port notices a vanished device only
    // while events are processed, as in the wait.
    if (m_wire && !arrived.isEmpty())
        m_wire->bytes_arrived(arrived, WireObserver::Arrival::Answer);
    if (!m_line_down && m_port.line_lost()) {
        m_line_down = true;
        note(WireEvent::LineLost);
    }
    if (timed_out)
        note(time_out);
}

void Link::note(WireEvent event)
{
    if (m_wire)
        m_wire->wire_event(event);
}

bool Link::stop_requested()
{
    if (m_stop_poll)
        m_stop_poll();
    return m_state.stopping;
}

WriteResult Link::send_item_value(const QString &name, double value, Purpose purpose)
{
    if (m_in_exchange || refuse_while_stopping(purpose) || refuse_write_while_closed())
        return WriteResult::NotSent;
    // A value typed, given or read from a file is refused where it comes from; what can still
    // arrive is a number the unit reported, or one stepped from it, and it goes no further.
    if (!is_sendable(value))
        return WriteResult::NotSent;
    const QScopedValueRollback in_exchange(m_in_exchange, true);
    if (!send_line(name + u'=' + format_wire_number(value)))
        return WriteResult::LineLost;
    do {
        m_operator.process_events();
    } while (m_port.bytes_waiting() == 0 && m_state.tick_count <= kWriteTimeoutTicks);

    const QByteArray answer = m_port.read_waiting();
    end_wait(answer, answer.isEmpty(), WireEvent::WriteTimedOut);
    if (answer.startsWith('?'))
        report_wrong_type();
    if (answer != ">") {
        report_no_response();
        hint_if_not_text(answer.size(), count_not_text(answer));
        if (m_port.line_lost())
            return WriteResult::AnswerLost;
        return answer.isEmpty() ? WriteResult::NoAnswer : WriteResult::WrongAnswer;
    }
    return WriteResult::Accepted;
}

Reading Link::query_item_value(const QString &name, Purpose purpose)
{
    if (m_in_exchange || refuse_while_stopping(purpose))
        return std::nullopt;
    if (refuse_while_closed(QStringLiteral("Unit is dis-connected.  All values will be set to zero.")))
        return catalogue::Value();
    const QScopedValueRollback in_exchange(m_in_exchange, true);
    if (!send_line(name))
        return catalogue::Value();

    // The answer ends at its first LF; what follows it in the same burst answers nothing.
    QByteArray answer;
    QByteArray arrived; // all of it, for an observer of the wire
    qsizetype arrived_count = 0;
    qsizetype not_text = 0;
    bool ended = false;
    do {
        m_operator.process_events();
        const QByteArray chunk = m_port.read_waiting();
        if (chunk.isEmpty())
            continue;
        arrived_count += chunk.size();
        not_text += count_not_text(chunk);
        if (m_wire)
            arrived.append(chunk.first(std::min(chunk.size(), kAnswerLimit - arrived.size())));
        const qsizetype line_feed = chunk.indexOf('\n');
        ended = line_feed >= 0;
        answer.append(chunk.left(std::min(ended ? line_feed + 1 : chunk.size(), kAnswerLimit - answer.size())));
    } while (!ended && m_state.tick_count <= kReadTimeoutTicks);
    end_wait(arrived, !ended, WireEvent::ReadTimedOut);

    if (arrived_count == 0) {
        report_no_response();
        return catalogue::Value();
    }
    // Acknowledgements of earlier writes that gave up on them can still come first.
    qsizetype start = 0;
    while (start < answer.size() && answer.at(start) == '>')
        ++start;
    const QByteArrayView reply = QByteArrayView(answer).sliced(start);
    std::optional<double> number;
    if (reply.startsWith('?')) {
        report_wrong_type();
    } else {
        m_state.wrong_type_error = false;
        number = parse_answer_number(reply);
    }
    if (!number) {
        hint_if_not_text(arrived_count, not_text);
        return catalogue::Value();
    }
    return name.left(9) == QLatin1String("VGA Left:") ? wrap_to_byte(*number) : *number;
}

} // namespace quvex::link
