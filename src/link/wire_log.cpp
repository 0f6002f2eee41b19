#include "wire_log.h"

#include "link.h"
#include "text/visible_text.h"

namespace quvex::link {

namespace {

// The wait an exchange gives up after, in the seconds the operator knows it by ("1.1 s").
QString time_out_text(int timeout_ticks)
{
    const double seconds = (timeout_ticks + 1) * Link::kTickMs / 1000.0;
    return QStringLiteral("time-out after %1 s").arg(seconds, 0, 'f', 1);
}

} // namespace

WireLog::WireLog(Sink sink, Clock clock)
    : m_sink(std::move(sink))
    , m_clock(std::move(clock))
{
    m_elapsed.start();
}

void WireLog::line_sent(QByteArrayView line)
{
    write(QLatin1String("sent    ") + text::visible_bytes(line));
}

void WireLog::bytes_arrived(QByteArrayView bytes, Arrival arrival)
{
    write((arrival == Arrival::Answer ? QLatin1String("answer  ") : QLatin1String("late    "))
          + text::visible_bytes(bytes));
}

void WireLog::wire_event(WireEvent event)
{
    switch (event) {
    case WireEvent::WriteTimedOut:
        return write(time_out_text(Link::kWriteTimeoutTicks));
    case WireEvent::ReadTimedOut:
        return write(time_out_text(Link::kReadTimeoutTicks));
    case WireEvent::UnknownAnswer:
        return write(QStringLiteral("\"?\" answer: the unit does not know this item"));
    case WireEvent::LineLost:
        return write(QStringLiteral("line lost"));
    case WireEvent::LineOpenedAgain:
        return write(QStringLiteral("line opened again"));
    case WireEvent::NotText:
        return write(QString::fromLatin1(kNotTextHint));
    }
}

void WireLog::write(const QString &text)
{
    const qint64 now = m_clock ? m_clock() : m_elapsed.elapsed();
    if (!m_start)
        m_start = now;
    m_sink(QString::number(now - *m_start).rightJustified(6) + QLatin1String(" ms  ") + text);
}

} // namespace quvex::link
