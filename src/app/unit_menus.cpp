#include "unit_menus.h"

#include "menu_items.h"
#include "panel/panel.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quvex::app {

UnitMenus::UnitMenus(QMenuBar &bar)
    : QObject(&bar)
{
    QMenu *nvr = add_menu(bar, "nvr", QStringLiteral("NVR"));
    m_store_settings = add_item(*nvr, "store_settings", QStringLiteral("Store Settings"));
    m_vga_store = add_item(*nvr, "vga_store", QStringLiteral("VGA Store"));
    QMenu *clone = add_menu(bar, "clone", QStringLiteral("Clone"));
    m_read_unit = add_item(*clone, "read_unit", QStringLiteral("Read all from attached unit"));
    m_write_unit = add_item(*clone, "write_unit", QStringLiteral("Write all to attached unit"));
    QMenu *reset = add_menu(bar, "reset", QStringLiteral("Reset"));
    m_reset_unit = add_item(*reset, "reset_unit", QStringLiteral("Reset unit"));
}

void UnitMenus::attach(panel::Panel &panel, const Act &act)
{
    using Handler = void (panel::Panel::*)();
    for (const auto &[action, handler] :
         {std::pair<QAction *, Handler>{m_store_settings, &panel::Panel::store_settings_Click},
          {m_vga_store, &panel::Panel::vga_store_Click},
          {m_read_unit, &panel::Panel::read_unit_Click},
          {m_write_unit, &panel::Panel::write_unit_Click},
          {m_reset_unit, &panel::Panel::reset_unit_Click}}) {
        connect(action, &QAction::triggered, this,
                [act, &panel, handler = handler] { act([&panel, handler] { (panel.*handler)(); }); });
    }
}

} // namespace quvex::app
