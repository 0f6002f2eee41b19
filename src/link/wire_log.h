#pragma once

#include "wire_observer.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>

namespace quvex::link {

// Turns what the link reports into the wire log's lines, each led by the time in milliseconds
// since the log's first line: "   120 ms  sent    VideoStd<CR>". Bytes are shown as every text
// from outside is (text/visible_text.h): those that are not printable ASCII as <CR>, <LF> or <hex>.
class WireLog final : public WireObserver
{
public:
    using Sink = std::function<void(const QString &line)>;
    // Milliseconds on any steady scale; none: the real time.
    using Clock = std::function<qint64()>;

    explicit WireLog(Sink sink, Clock clock = {});

    void line_sent(QByteArrayView line) override;
    void bytes_arrived(QByteArrayView bytes, Arrival arrival) override;
    void wire_event(WireEvent event) override;

private:
    void write(const QString &text);

    Sink m_sink;
    Clock m_clock;
    QElapsedTimer m_elapsed;
    std::optional<qint64> m_start;
};

} // namespace quvex::link
