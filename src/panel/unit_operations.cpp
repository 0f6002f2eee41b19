#include "catalogue/naming.h"
#include "panel.h"

namespace quvex::panel {

void Panel::read_all_items()
{
    UnitRun run = begin_run(QStringLiteral("Reading"), supported_item_count(false));
    clear_list();
    for (int i = 1; i <= m_catalogue.item_count(); ++i) {
        const catalogue::Entry &entry = m_catalogue.entry(i);
        if (!m_model.model_supports(entry.models))
            continue;
        run.step(entry.name.trimmed());
        refresh_item(i);
        if (run.failed())
            break;
    }
}

void Panel::read_unit_Click()
{
    read_all_items();
}

void Panel::write_unit_Click()
{
    // Every value may be unknown, so the loop alone might never reach the link's warning.
    if (m_changes.refuse() || m_link.refuse_write_while_closed())
        return;
    // The attached unit's own values were never read: what it held before cannot be known.
    m_history.forbid(QStringLiteral("Write all to attached unit"));
    UnitRun run = begin_run(QStringLiteral("Writing"), supported_item_count(true));
    for (int i = 1; i <= m_catalogue.item_count(); ++i) {
        const catalogue::Entry &entry = m_catalogue.entry(i);
        if (!m_model.model_supports(entry.models) || entry.is_header())
            continue;
        run.step(entry.name.trimmed());
        if (!entry.value.is_empty()) {
            m_bracket.write_item_value(entry.name, entry.value.number());
        } else if (!catalogue::is_mode_specific(entry.name)) {
            // The unit never reported this value, so nothing is sent for it; an ordinary item
            // still closes a run of mode-specific ones so the unit gets its own mode back.
            m_bracket.select_item_video_mode(entry.name);
        }
        if (run.failed()) {
            m_operator.show_message(QStringLiteral("Unable to complete operation."));
            break;
        }
    }
}

void Panel::reset_unit_Click()
{
    if (m_changes.refuse() || !m_link.is_port_open())
        return;
    const Operation operation = begin_operation();
    send_unit_command(QStringLiteral("Reset"));
    m_history.forbid(QStringLiteral("Reset unit"));
    m_operator.show_message(QStringLiteral("Click OK when unit has reset."));
    read_all_items();
}

void Panel::store_settings_Click()
{
    send_unit_command(QStringLiteral("Store Settings"));
}

void Panel::vga_store_Click()
{
    send_unit_command(QStringLiteral("VGA Store"));
}

} // namespace quvex::panel
