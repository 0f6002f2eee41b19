#pragma once

#include "probe/port_probe.h"
#include "window_hooks.h"

#include <QWidget>

class QAction;
class QLabel;
class QTableView;

namespace quvex::rack {
class Rack;
struct UnitChanges;
} // namespace quvex::rack

namespace quvex::app {

class UnitsTableModel;

// Port › Units...: every unit of the rack in a window of its own beside the panel, never modal.
// It shows the rack's rows and starts the rack's work on the selected ones; what a probe, a watch
// query or an action does is the rack's. It watches only while it is shown. The actions that
// would change a unit are off while changes are locked, and say why.
class UnitsWindow final : public QWidget
{
    Q_OBJECT

public:
    // The setting of the panel's config file that holds the watch's interval, in seconds.
    static inline const QString kWatchKey = QStringLiteral("units_watch_seconds");

    // lock: Edit › Lock changes.
    UnitsWindow(QWidget &panel, rack::Rack &rack, const WindowHooks &hooks, QAction &lock);

    // Opened beside the panel the first time, where the operator left it after that; raised when
    // it is open already.
    void show_beside_panel();
    QTableView &table() const { return *m_table; }

Q_SIGNALS:
    // Open in panel: the panel is to connect to this unit with its model.
    void open_in_panel(const quvex::probe::ProbeResult &unit);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *add_action(const char *name, const QString &caption, const QKeySequence &key);
    QList<int> selected_rows() const;
    // How a question or the changes dialog names a row's unit: "COM 5 Studio A genlock".
    QString unit_text(int row) const;
    void refresh();
    void back_up();
    void find_changes();
    void show_changes(const QList<rack::UnitChanges> &changes);
    void load_file();
    void open_selected();
    void cancel();
    void update_actions();

    QWidget &m_panel;
    rack::Rack &m_rack;
    const WindowHooks &m_hooks;
    QAction &m_lock;
    UnitsTableModel *m_model;
    QTableView *m_table;
    QAction *m_refresh = nullptr;
    QAction *m_back_up = nullptr;
    QAction *m_changes = nullptr;
    QAction *m_load_file = nullptr;
    QAction *m_open = nullptr;
    QAction *m_cancel = nullptr;
    QLabel *m_summary;
    bool m_placed = false;
};

} // namespace quvex::app
