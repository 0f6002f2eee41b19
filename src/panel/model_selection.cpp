#include "panel.h"

namespace quvex::panel {

void Panel::Form_Load()
{
    quvex_Click(catalogue::kDisconnected);
}

void Panel::quvex_Click(int index)
{
    if (index < 0 || index >= catalogue::kUnitModelCount)
        return;
    const Operation operation = begin_operation();
    // A restore kept from a lost line is for the unit chosen when it was lost; what was
    // changed was changed at that unit.
    if (index != m_model.index())
        m_bracket.forget_pending_restore();
    if (index != m_model.index() || index == catalogue::kDisconnected)
        m_history.clear();
    // Selecting the button from here delivers no click, so the choice goes on in this call.
    m_view.select_model_button(index);
    m_model.select(index);
    if (index == catalogue::kDisconnected) {
        clear_list();
        m_link.close_port();
        return;
    }
    m_link.open_port();
    if (m_link.is_port_open())
        read_all_items();
    else
        quvex_Click(catalogue::kDisconnected);
}

void Panel::end_stopped_session()
{
    if (m_link.is_port_open())
        m_bracket.retry_pending_restore();
    m_link.close_port();
}

} // namespace quvex::panel
