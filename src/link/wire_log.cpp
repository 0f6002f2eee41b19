#include "wire_log.h"

namespace quvex::link {

WireLog::WireLog(Sink sink, Clock clock)
    : m_sink(std::move(sink))
    , m_clock(std::move(clock))
{
    m_elapsed.start();
}

QString WireLog::visible(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            text += QLatin1String("<CR>");
        else if (c == '\n')
            text += QLatin1String("<LF>");
        else if (byte < 0x20 || byte > 0x7E || c == '<')
            text += u'<' + QString::number(byte, 16).toUpper().rightJustified(2, u'0') + u'>';
        else
            text += QLatin1Char(c);
    }
    return text;
}

void WireLog::line_sent(QByteArrayView line)
{
    write(QLatin1String("sent    ") + visible(line));
}

void WireLog::bytes_arrived(QByteArrayView bytes, Arrival arrival)
{
    write((arrival == Arrival::Answer ? QLatin1String("answer  ") : QLatin1String("late    ")) + visible(bytes));
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
