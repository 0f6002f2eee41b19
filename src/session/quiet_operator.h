#pragma once

#include "link/link.h"
#include "link/operator_side.h"

#include <QCoreApplication>
#include <QThread>

namespace quvex::session {

// The operator's side of a session run beside the panel (a probe, a watch query, one unit of a
// run on several): its outcome is its result, so no message is shown. An interruption of its
// thread ends the wait for an answer as the time-out would.
class QuietOperator final : public link::OperatorSide
{
public:
    void show_message(const QString &, const QString &, link::MessageIcon, const QString &) override {}
    void set_window_enabled(bool) override {}
    void set_port_box_enabled(bool) override {}
    void process_events() override
    {
        if (QThread::currentThread()->isInterruptionRequested() && m_link)
            m_link->state().tick_count = link::LinkState::kTickLimit;
        else
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    link::Link *m_link = nullptr;
};

} // namespace quvex::session
