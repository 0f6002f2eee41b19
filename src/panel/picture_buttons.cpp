#include "catalogue/naming.h"
#include "panel.h"

namespace quvex::panel {

void Panel::adjust_named_item(const QString &name, double step)
{
    m_selected_item = catalogue::find_item(m_catalogue, m_model, name);
    set_item_value(m_selected_item, m_catalogue.entry(m_selected_item).value.number() + step);
}

void Panel::set_named_item(const QString &name, const catalogue::Value &value)
{
    m_selected_item = catalogue::find_item(m_catalogue, m_model, name);
    set_item_value(m_selected_item, value);
}

void Panel::adjust_mode_item(const QString &base_name, double step)
{
    adjust_named_item(catalogue::current_mode_prefix(m_catalogue, m_model) + base_name, step);
}

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

void Panel::Command2_Click() { set_named_item(QStringLiteral("Zoom"), 1); }
void Panel::Command20_Click() { set_named_item(QStringLiteral("Zoom"), 0); }

// Pan cross: the opposite sense to the position cross, up and left increase.
void Panel::Command13_Click() { adjust_named_item(QStringLiteral("Pan Y Pos:"), +1); }
void Panel::Command10_Click() { adjust_named_item(QStringLiteral("Pan Y Pos:"), -1); }
void Panel::Command11_Click() { adjust_named_item(QStringLiteral("Pan X Pos:"), +1); }
void Panel::Command12_Click() { adjust_named_item(QStringLiteral("Pan X Pos:"), -1); }

void Panel::Command21_Click() { set_named_item(QStringLiteral("Overscan"), 0); }
void Panel::Command22_Click() { set_named_item(QStringLiteral("Overscan"), 1); }

void Panel::Command24_Click() { m_bracket.write_item_value(QStringLiteral("Auto Set"), 1); }

} // namespace quvex::panel
