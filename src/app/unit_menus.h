#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenuBar;

namespace quvex::panel {
class Panel;
}

namespace quvex::app {

// The menus of operations on the whole unit: NVR's two stores, Clone's read all and write all,
// and Reset. Each item runs the core's handler of its name.
class UnitMenus final : public QObject
{
    Q_OBJECT

public:
    // Runs an action as the window runs every operator action.
    using Act = std::function<void(const std::function<void()> &action)>;

    // Adds the three menus at the end of the bar.
    explicit UnitMenus(QMenuBar &bar);

    void attach(panel::Panel &panel, const Act &act);

private:
    QAction *m_store_settings;
    QAction *m_vga_store;
    QAction *m_read_unit;
    QAction *m_write_unit;
    QAction *m_reset_unit;
};

} // namespace quvex::app
