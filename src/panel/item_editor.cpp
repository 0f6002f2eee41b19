#include "catalogue/naming.h"
#include "link/answer_number.h"
#include "list_line.h"
#include "panel.h"

#include <cmath>

namespace quvex::panel {

namespace {

constexpr int kOptionButtons = 4;

} // namespace

void Panel::set_item_value(int index, const catalogue::Value &new_value)
{
    // Index 0 and the item_count() + 1 of a name that was not found are no item at all.
    if (!m_catalogue.is_entry(index))
        return;
    catalogue::Entry &entry = m_catalogue.entry(index);
    // An empty new value holds no number to send: the item is only read back. An unknown
    // stored value differs from every number.
    const bool changed = entry.value.is_empty() || entry.value.number() != new_value.number();
    const bool sends = !entry.is_header() && !new_value.is_empty() && changed;
    if (sends && refuse_change())
        return;
    const Operation operation = begin_operation();
    if (!m_link.is_port_open())
        return;
    const catalogue::Value before = entry.value;
    if (sends) {
        // Not sent: the unit's mode could not be read or set, or another exchange was still
        // waiting. The unit heard nothing of this item, so nothing else may happen.
        if (m_bracket.write_item_value(entry.name, new_value.number()) == link::WriteResult::NotSent)
            return;
        // After a failure the action asks nothing more of a unit that is not answering: one
        // warning, not one per exchange. The unit may or may not have taken the value.
        if (operation.failed()) {
            entry.value = {};
            show_item(index);
            highlight_item(index);
            return;
        }
    }
    refresh_item(index);
    highlight_item(index);
    // What the unit took is what it reads back as; the value sent when it did not say.
    if (sends)
        m_history.record(entry.name, before, entry.value.is_empty() ? new_value : entry.value);
}

void Panel::highlight_item(int index)
{
    const QString &name = m_catalogue.entry(index).name;
    for (int row = 0; row < m_list.list_line_count; ++row) {
        if (m_view.line(row).left(catalogue::Catalogue::kNameWidth) == name) {
            m_view.highlight_line(row);
            return;
        }
    }
}

void Panel::load_editor(int index)
{
    const catalogue::Entry &entry = m_catalogue.entry(index);
    m_view.set_editor_caption(entry.name.trimmed());

    split_item_options(index);
    QString &first = m_list.item_options[1];
    if (first == QLatin1String("N2")) {
        m_step_size = 2;
        first = QStringLiteral("N");
    } else {
        m_step_size = 1;
    }

    if (first.isEmpty() || first == QLatin1String("N")) {
        for (int position = 0; position < kOptionButtons; ++position)
            m_view.hide_option(position);
        m_view.set_value_controls_enabled(!first.isEmpty());
    } else {
        for (int position = 0; position < kOptionButtons; ++position) {
            if (position < m_list.option_count)
                m_view.show_option(position, m_list.item_options[static_cast<std::size_t>(position) + 1]);
            else
                m_view.hide_option(position);
        }
        m_view.set_value_controls_enabled(true);
        const double value = entry.value.number();
        if (entry.value.is_empty())
            m_view.uncheck_options();
        else if (value >= 0 && value <= kOptionButtons - 1 && value == std::floor(value))
            m_view.check_option(static_cast<int>(value));
    }
    m_view.set_value_text(link::format_wire_value(entry.value));
}

catalogue::Value Panel::stepped(int index, double step) const
{
    // A step from a value the unit did not give would send a number nobody chose.
    const catalogue::Value &stored = m_catalogue.entry(index).value;
    return stored.is_empty() ? catalogue::Value() : catalogue::Value(stored.number() + step);
}

void Panel::menu_list_Click(int row)
{
    if (row < 0 || row >= m_list.list_line_count)
        return;
    const QString name = m_view.line(row).left(catalogue::Catalogue::kNameWidth);
    if (is_header_line(name))
        return;
    adjust_named_item(name, 0);
}

bool Panel::refuse_change()
{
    if (!m_changes.refuse())
        return false;
    // The editor shows the unit's value again, not what was typed or clicked.
    if (m_catalogue.is_entry(m_selected_item))
        load_editor(m_selected_item);
    return true;
}

void Panel::item_value_LostFocus(const QString &text)
{
    if (refuse_change())
        return;
    if (const std::optional<double> number = link::sendable_number(text)) {
        set_item_value(m_selected_item, *number);
        return;
    }
    // Nothing the unit could take exactly: show the stored value again rather than keep the text.
    if (m_catalogue.is_entry(m_selected_item))
        m_view.set_value_text(link::format_wire_value(m_catalogue.entry(m_selected_item).value));
}

void Panel::inc_Click()
{
    if (refuse_change())
        return;
    set_item_value(m_selected_item, stepped(m_selected_item, m_step_size));
}

void Panel::dec_Click()
{
    if (refuse_change())
        return;
    set_item_value(m_selected_item, stepped(m_selected_item, -m_step_size));
}

void Panel::feat_Click(int position)
{
    if (refuse_change())
        return;
    set_item_value(m_selected_item, position);
}

} // namespace quvex::panel
