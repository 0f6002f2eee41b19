// quvex-panel: the control panel for QUVEX scan-converter units on a serial line, local or
// behind a serial device server on the network.
#include "app/main_window.h"
#include "backup/unit_backup.h"
#include "link/stop_signals.h"
#include "rack/rack.h"
#include "rack/unit_names.h"
#include "session/unit_session.h"
#include "settings/settings_file.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    using namespace quvex;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quvex-panel"));
    // Lets the desktop match the window to its installed entry and icon, on Wayland above all.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quvex.Panel"));
    // The controls sit where frames carry their caption on the border line, as the classic
    // style draws them; styles that put the caption above the border push it into the controls.
    if (QStyle *classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);

    link::StopSignals stop_signals; // outlives the link, which asks it
    const app::WindowHooks hooks = app::production_hooks();
    // The rack outlives the window, whose Units window shows its rows.
    rack::UnitNames names;
    backup::BackupStore store(backup::BackupStore::default_root());
    rack::Rack rack(hooks.system_ports, names, store);
    app::MainWindow window(hooks);
    // A network port connects while the window waits, locked and repainting, as for an answer.
    session::UnitSession unit(window.operator_side(), window.view());
    settings::SettingsFile settings(unit.catalogue, unit.bracket, window.operator_side(), unit.panel,
                                    settings::settings_path());
    window.attach(unit, settings);
    backup::UnitBackup backups(unit.catalogue, unit.link, unit.bracket, window.operator_side(), unit.panel,
                               backup::BackupStore::default_root());
    window.attach_backups(backups);
    window.attach_rack(rack);
    window.stop_on(stop_signals);

    unit.panel.Form_Load();
    window.show();
    return stop_signals.finish(QApplication::exec());
}
