#include "list_line.h"
#include "panel.h"

#include <cmath>

namespace quvex::panel {

void Panel::split_item_options(int index)
{
    QString rest = m_catalogue.entry(index).format;
    m_list.option_count = 0;
    // The catalogue has at most four options; a longer list keeps its tail in the last slot.
    for (qsizetype comma = rest.indexOf(u','); comma >= 0 && m_list.option_count < ListState::kOptionSlots - 1;
         comma = rest.indexOf(u',')) {
        m_list.item_options[static_cast<std::size_t>(++m_list.option_count)] = rest.left(comma);
        rest = rest.mid(comma + 1);
    }
    m_list.item_options[static_cast<std::size_t>(++m_list.option_count)] = rest;
}

QString Panel::item_line(int index)
{
    const catalogue::Entry &entry = m_catalogue.entry(index);
    if (entry.is_header())
        return header_line(entry.name);

    // A value the unit did not give shows as nothing at all: no number could be trusted.
    if (entry.value.is_empty())
        return entry.name;
    split_item_options(index);
    const double value = entry.value.number();
    QString line = entry.name + format_list_number(value);
    const QString &first = m_list.item_options[1];
    if (first.isEmpty() || first.startsWith(u'N'))
        return line;
    // A value with no option of its own shows as the number alone, never with a text left
    // in the table by another item.
    const double position = std::round(value);
    if (position >= 0 && position < m_list.option_count)
        line += QStringLiteral(" (") + m_list.item_options[static_cast<std::size_t>(position) + 1] + u')';
    return line;
}

void Panel::clear_list()
{
    m_list.item_list_line.fill(-1);
    m_list.list_line_count = 0;
    m_view.clear_lines();
}

void Panel::refresh_item(int index)
{
    if (!m_link.is_port_open() || !m_catalogue.is_entry(index))
        return;
    catalogue::Entry &entry = m_catalogue.entry(index);
    // An item that was not asked (its mode could not be set) keeps what it had.
    if (!entry.is_header()) {
        if (const link::Reading reading = m_bracket.read_item_value(entry.name))
            entry.value = *reading;
    }

    show_item(index);
}

void Panel::show_item(int index)
{
    const catalogue::Entry &entry = m_catalogue.entry(index);
    int &row = m_list.item_list_line[static_cast<std::size_t>(index)];
    if (row == -1) {
        m_view.append_line(QString());
        row = m_list.list_line_count++;
    }
    m_view.set_line(row, item_line(index));

    if (!entry.is_header() && index == m_selected_item)
        load_editor(index);
}

} // namespace quvex::panel
