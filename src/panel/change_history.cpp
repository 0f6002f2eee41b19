#include "change_history.h"

#include "link/answer_number.h"

namespace quvex::panel {

QString ChangeStep::text() const
{
    if (items.size() == 1) {
        const ItemChange &only = items.constFirst();
        return QStringLiteral("%1 %2 \u2192 %3")
            .arg(only.name.trimmed(), link::format_wire_value(only.before), link::format_wire_value(only.after));
    }
    return QStringLiteral("%1: %2 items")
        .arg(caption.isEmpty() ? QStringLiteral("Changes") : caption)
        .arg(items.size());
}

void ChangeHistory::set_hooks(StepHook on_step, ClearHook on_clear)
{
    m_on_step = std::move(on_step);
    m_on_clear = std::move(on_clear);
}

void ChangeHistory::record(const QString &name, const catalogue::Value &before, const catalogue::Value &after)
{
    if (m_suspended)
        return;
    if (before.is_empty()) {
        forbid(name.trimmed() + QStringLiteral(" was unknown"));
        return;
    }
    if (m_step.caption.isEmpty())
        m_step.caption = m_caption;
    m_step.items.append({name, before, after});
}

void ChangeHistory::forbid(const QString &reason)
{
    if (m_suspended)
        return;
    // What went before cannot be taken back across this; what comes after it in the same
    // action still can.
    m_step.items.clear();
    m_cleared = true;
    m_reason = reason;
}

void ChangeHistory::set_caption(const QString &caption)
{
    m_caption = caption;
}

void ChangeHistory::end_action()
{
    const ChangeStep step = std::exchange(m_step, {});
    m_caption.clear();
    if (std::exchange(m_cleared, false) && m_on_clear)
        m_on_clear(m_reason);
    if (!step.items.isEmpty() && m_on_step)
        m_on_step(step);
}

} // namespace quvex::panel
