#include "status_line.h"

#include "progress_text.h"

#include <QLabel>
#include <QStatusBar>

namespace quvex::app {

StatusLine::StatusLine(QStatusBar &bar)
    : m_bar(bar)
    , m_hint(new QLabel)
{
    m_bar.setObjectName(QStringLiteral("status"));
    m_bar.setAccessibleName(QStringLiteral("Progress"));
    m_bar.setSizeGripEnabled(false);
    // A normal widget of the status line: a run's progress covers it while it lasts. It is longer
    // than the window is wide, and is read whole.
    m_hint->setObjectName(QStringLiteral("wire_hint"));
    m_hint->setWordWrap(true);
    m_bar.addWidget(m_hint, 1);

    m_pace.setInterval(kProgressIntervalMs);
    m_pace.setSingleShot(true);
    connect(&m_pace, &QTimer::timeout, this, [this] {
        if (!m_progress.isEmpty() && m_progress != m_bar.currentMessage())
            m_bar.showMessage(m_progress);
    });
}

void StatusLine::show_progress(const QString &verb, int done, int total, const QString &item)
{
    // The status line repaints itself at once on every message; four times a second is as
    // much as anyone reads, and all a read all can afford beside the exchanges.
    m_progress = progress_text(verb, done, total, item);
    if (m_progress.isEmpty()) {
        m_pace.stop();
        m_bar.clearMessage();
    } else if (!m_pace.isActive()) {
        m_bar.showMessage(m_progress);
        m_pace.start();
    }
}

} // namespace quvex::app
