#include "operation.h"

namespace quvex::panel {

OperationLock::OperationLock(link::OperatorSide &operator_side)
    : m_operator(operator_side)
{
}

void OperationLock::acquire()
{
    if (m_depth++ == 0)
        m_operator.set_window_enabled(false);
}

void OperationLock::release()
{
    if (--m_depth != 0)
        return;
    m_operator.set_window_enabled(true);
    if (m_on_end)
        m_on_end();
}

Operation::Operation(OperationLock &lock, link::LinkState &state)
    : m_lock(lock)
    , m_state(state)
{
    m_lock.acquire();
    m_state.wrong_type_error = false;
    m_state.no_response_error = false;
}

Operation::~Operation()
{
    m_lock.release();
}

UnitRun::UnitRun(OperationLock &lock, link::Link &link, link::ModeBracket &bracket, const ProgressHook &progress,
                 QString verb, int total)
    : m_operation(lock, link.state())
    , m_state(link.state())
    , m_bracket(bracket)
    , m_progress(progress)
    , m_verb(std::move(verb))
    , m_total(total)
{
    m_state.bulk_mode = true;
}

UnitRun::~UnitRun()
{
    finish();
}

void UnitRun::step(const QString &item)
{
    if (m_progress)
        m_progress(m_verb, ++m_done, m_total, item);
}

void UnitRun::finish()
{
    if (std::exchange(m_finished, true))
        return;
    m_state.bulk_mode = false;
    // A run that stopped inside the picture groups left the unit in the last group's mode.
    m_bracket.restore_video_mode();
    if (m_progress)
        m_progress(QString(), 0, 0, QString());
}

} // namespace quvex::panel
