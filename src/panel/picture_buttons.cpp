#include "catalogue/naming.h"
#include "panel.h"

namespace quvex::panel {

void Panel::adjust_named_item(const QString &name, double step)
{
    m_selected_item = catalogue::find_item(m_catalogue, m_model, name);
    set_item_value(m_selected_item, stepped(m_selected_item, step));
}

void Panel::set_named_item(const QString &name, const catalogue::Value &value)
{
    m_selected_item = catalogue::find_item(m_catalogue, m_model, name);
    set_item_value(m_selected_item, value);
}

void Panel::adjust_button_item(const QString &name, double step)
{
    if (!refuse_change())
        adjust_named_item(name, step);
}

void Panel::set_button_item(const QString &name, double value)
{
    if (!refuse_change())
        set_named_item(name, value);
}

void Panel::adjust_mode_item(const QString &base_name, double step)
{
    if (refuse_change())
        return;
    const int video_std = catalogue::find_item(m_catalogue, m_model, QStringLiteral("Video Std"));
    const int overscan = catalogue::find_item(m_catalogue, m_model, QStringLiteral("Overscan"));
    // Without the unit's mode the button does not know which of the four sets it would edit:
    // it asks the unit again and edits nothing.
    if (m_link.is_port_open()
        && (m_catalogue.entry(video_std).value.is_empty() || m_catalogue.entry(overscan).value.is_empty())) {
        const Operation operation = begin_operation();
        refresh_item(video_std);
        if (!operation.failed())
            refresh_item(overscan);
        return;
    }
    adjust_named_item(catalogue::current_mode_prefix(m_catalogue, m_model) + base_name, step);
}

void Panel::send_unit_command(const QString &command)
{
    if (m_changes.refuse())
        return;
    const Operation operation = begin_operation();
    // The unit computes or stores values of its own: nothing before this can be taken back.
    if (m_bracket.write_item_value(command, 1) != link::WriteResult::NotSent)
        m_history.forbid(command);
}

// One handler a line reads as the table of buttons it is.
// clang-format off

// Position cross: up and left decrease the centre values.
void Panel::Command1_Click() { adjust_mode_item(QStringLiteral("Out V-Centre:"), -1); }
void Panel::Command5_Click() { adjust_mode_item(QStringLiteral("Out V-Centre:"), +1); }
void Panel::Command4_Click() { adjust_mode_item(QStringLiteral("Out H-Centre:"), -1); }
void Panel::Command3_Click() { adjust_mode_item(QStringLiteral("Out H-Centre:"), +1); }

// Size columns: up makes the picture bigger.
void Panel::Command6_Click() { adjust_mode_item(QStringLiteral("Out H-Width:"), +1); }
void Panel::Command7_Click() { adjust_mode_item(QStringLiteral("Out H-Width:"), -1); }
void Panel::Command8_Click() { adjust_mode_item(QStringLiteral("Out V-Height:"), +1); }
void Panel::Command9_Click() { adjust_mode_item(QStringLiteral("Out V-Height:"), -1); }

void Panel::Command2_Click() { set_button_item(QStringLiteral("Zoom"), 1); }
void Panel::Command20_Click() { set_button_item(QStringLiteral("Zoom"), 0); }

// Pan cross: the opposite sense to the position cross, up and left increase.
void Panel::Command13_Click() { adjust_button_item(QStringLiteral("Pan Y Pos:"), +1); }
void Panel::Command10_Click() { adjust_button_item(QStringLiteral("Pan Y Pos:"), -1); }
void Panel::Command11_Click() { adjust_button_item(QStringLiteral("Pan X Pos:"), +1); }
void Panel::Command12_Click() { adjust_button_item(QStringLiteral("Pan X Pos:"), -1); }

void Panel::Command21_Click() { set_button_item(QStringLiteral("Overscan"), 0); }
void Panel::Command22_Click() { set_button_item(QStringLiteral("Overscan"), 1); }

void Panel::Command24_Click() { send_unit_command(QStringLiteral("Auto Set")); }

// clang-format on

} // namespace quvex::panel
