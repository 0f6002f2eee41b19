#include "link.h"

#include "answer_number.h"
#include "catalogue/naming.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace quvex::link {

Link::Link(SerialPort &port, OperatorSide &operator_side)
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
    if (!m_port.is_open() && !m_port.set_open(true))
        m_operator.show_message(QStringLiteral("Could not open COM port - please check COM port number."), {},
                                MessageIcon::None, m_port.open_failure());
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
        m_operator.show_message(warning);
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
    m_port.discard_input();
    m_state.tick_count = 0;
    if (m_port.send(catalogue::remove_spaces(text).toLatin1() + '\r'))
        return true;
    // The device is gone and not back: no answer can come, so there is nothing to wait for.
    report_no_response();
    return false;
}

void Link::report_no_response()
{
    m_operator.show_message(QStringLiteral("QUVEX unit not responding.\rPlease check cables,\r"
                                           " that BaudRate=23\r and that RS232 = Control."),
                            QStringLiteral("Error"), MessageIcon::Exclamation);
    m_state.no_response_error = true;
}

void Link::report_wrong_type()
{
    m_operator.show_message(QString::fromLatin1(kWrongTypeText));
    m_state.wrong_type_error = true;
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
    const QScopedValueRollback in_exchange(m_in_exchange, true);
    if (!send_line(name + u'=' + format_wire_number(value)))
        return WriteResult::LineLost;
    do {
        m_operator.process_events();
    } while (m_port.bytes_waiting() == 0 && m_state.tick_count <= kWriteTimeoutTicks);

    const QByteArray answer = m_port.read_waiting();
    if (answer.startsWith('?'))
        report_wrong_type();
    if (answer != ">") {
        report_no_response();
        return m_port.line_lost() ? WriteResult::LineLost : WriteResult::Failed;
    }
    return WriteResult::Accepted;
}

Reading Link::query_item_value(const QString &name)
{
    if (m_in_exchange || refuse_while_stopping(Purpose::Ordinary))
        return std::nullopt;
    if (refuse_while_closed(QStringLiteral("Unit is dis-connected.  All values will be set to zero.")))
        return catalogue::Value();
    const QScopedValueRollback in_exchange(m_in_exchange, true);
    if (!send_line(name))
        return catalogue::Value();

    // The answer ends at its first LF; what follows it in the same burst answers nothing.
    QByteArray answer;
    bool received = false;
    bool ended = false;
    do {
        m_operator.process_events();
        const QByteArray chunk = m_port.read_waiting();
        if (chunk.isEmpty())
            continue;
        received = true;
        const qsizetype line_feed = chunk.indexOf('\n');
        ended = line_feed >= 0;
        answer.append(chunk.left(std::min(ended ? line_feed + 1 : chunk.size(), kAnswerLimit - answer.size())));
    } while (!ended && m_state.tick_count <= kReadTimeoutTicks);

    if (!received) {
        report_no_response();
        return catalogue::Value();
    }
    // Acknowledgements of earlier writes that gave up on them can still come first.
    qsizetype start = 0;
    while (start < answer.size() && answer.at(start) == '>')
        ++start;
    const QByteArrayView reply = QByteArrayView(answer).sliced(start);
    if (reply.startsWith('?')) {
        report_wrong_type();
        return catalogue::Value();
    }
    m_state.wrong_type_error = false;
    const std::optional<double> number = parse_answer_number(reply);
    if (!number)
        return catalogue::Value();
    return name.left(9) == QLatin1String("VGA Left:") ? wrap_to_byte(*number) : *number;
}

} // namespace quvex::link
