// quvex-panel: the control panel for QUVEX scan-converter units on a serial line, local or
// behind a serial device server on the network.
#include "app/main_window.h"
#include "backup/unit_backup.h"
#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "link/stop_signals.h"
#include "panel/panel.h"
#include "serial/unit_line.h"
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
    catalogue::Catalogue items;
    catalogue::build_catalogue(items);
    catalogue::CurrentModel model;
    app::MainWindow window;
    // A network port connects while the window waits, locked and repainting, as for an answer.
    serial::UnitLine port([&window] { window.operator_side().process_events(); });
    link::Link unit_link(port, window.operator_side());
    link::ModeBracket bracket(unit_link);
    panel::Panel panel(items, model, unit_link, bracket, window.operator_side(), window.view());
    settings::SettingsFile settings(items, bracket, window.operator_side(), panel, settings::settings_path());
    window.attach(unit_link, panel, settings);
    backup::UnitBackup backups(items, unit_link, bracket, window.operator_side(), panel,
                               backup::BackupStore::default_root());
    window.attach_backups(backups);
    window.stop_on(stop_signals);

    panel.Form_Load();
    window.show();
    return stop_signals.finish(QApplication::exec());
}
