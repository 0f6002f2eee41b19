#include "wire_log.h"

#include "text/visible_text.h"

namespace quvex::link {

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
        return write(QStringLiteral("time-out after 1.1 s"));
    case WireEvent::ReadTimedOut:
        return write(QStringLiteral("time-out after 0.6 s"));
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
