#include "catalogue/naming.h"
#include "panel.h"

namespace quvex::panel {

void Panel::read_all_items()
{
    m_operator.set_window_enabled(false);
    clear_list();

    link::LinkState &state = m_link.state();
    state.bulk_mode = true;
    state.wrong_type_error = false;
    state.no_response_error = false;

    const int total = supported_item_count(false);
    int done = 0;
    for (int i = 1; i <= m_catalogue.item_count(); ++i) {
        if (!m_model.model_supports(m_catalogue.entry(i).models))
            continue;
        report_progress(QStringLiteral("Reading"), ++done, total, i);
        refresh_item(i);
        if (has_failed())
            break;
    }
    report_progress(QString(), 0, 0, 0);

    state.bulk_mode = false;
    m_operator.set_window_enabled(true);
}

void Panel::read_unit_Click()
{
    read_all_items();
}

void Panel::write_unit_Click()
{
    m_operator.set_window_enabled(false);
    link::LinkState &state = m_link.state();
    state.wrong_type_error = false;
    state.no_response_error = false;
    state.bulk_mode = true;

    const int total = supported_item_count(true);
    int done = 0;
    for (int i = 1; i <= m_catalogue.item_count(); ++i) {
        const catalogue::Entry &entry = m_catalogue.entry(i);
        if (!m_model.model_supports(entry.models) || entry.is_header())
            continue;
        report_progress(QStringLiteral("Writing"), ++done, total, i);
        if (!entry.value.is_empty()) {
            m_bracket.write_item_value(entry.name, entry.value.number());
        } else if (!catalogue::is_mode_specific(entry.name)) {
            // The unit never reported this value, so nothing is sent for it; an ordinary item
            // still closes a run of mode-specific ones so the unit gets its own mode back.
            m_bracket.select_item_video_mode(entry.name);
        }
        if (has_failed()) {
            m_operator.show_message(QStringLiteral("Unable to complete operation."));
            break;
        }
    }
    report_progress(QString(), 0, 0, 0);

    state.bulk_mode = false;
    m_operator.set_window_enabled(true);
}

void Panel::reset_unit_Click()
{
    if (!m_link.is_port_open())
        return;
    m_bracket.write_item_value(QStringLiteral("Reset"), 1);
    m_operator.show_message(QStringLiteral("Click OK when unit has reset."));
    read_all_items();
}

void Panel::store_settings_Click()
{
    m_bracket.write_item_value(QStringLiteral("Store Settings"), 1);
}

void Panel::vga_store_Click()
{
    m_bracket.write_item_value(QStringLiteral("VGA Store"), 1);
}

} // namespace quvex::panel
