#pragma once

// The real window and core on a fake unit, shared by the tests of the window's classes. The hooks
// record what would be shown, and waiting for the unit runs the fake unit's virtual clock, so
// nothing waits in real time.
#include "app/backups_dialog.h"
#include "app/compare_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/network_port_dialog.h"
#include "app/unit_changes_dialog.h"
#include "app/units_window.h"
#include "app/wire_log_window.h"
#include "catalogue/catalogue.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "ports/port_device.h"
#include "rack/rack.h"
#include "rack/unit_names.h"
#include "session/unit_session.h"
#include "settings/settings_file.h"
#include "support/fake_unit.h"
#include "support/messages.h"
#include "support/settings_bytes.h"

#include <QTest>
#include <QtWidgets>

using namespace quvex;
using namespace Qt::StringLiterals;

struct Rig
{
    // Connected chooses QUVEXview Max, which reads the unit; what that sent is forgotten. The
    // panel's settings are kept in config, else in a file of the rig's own.
    explicit Rig(bool connected = true, const QString &config = {})
        : config_file(config.isEmpty() ? folder.filePath(u"config/quvex-panel.conf"_s) : config)
    {
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit()); // the ports folder's
        unit.on_tick = [this] { link.Timer1_Timer(); };
        window.attach(session, settings);
        window.attach_rack(rack);
        panel.Form_Load();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (connected) {
            get(u"quvex_2"_s).click();
            unit.clear_sent();
        }
    }
    // A wrong name crashes the test.
    template <typename T = QAbstractButton>
    T &get(const QString &name)
    {
        return *window.findChild<T *>(name);
    }
    // The button of that name, else the list line that starts with that text, and where to click it.
    std::pair<QWidget *, QPoint> place(const QString &target)
    {
        if (auto *button = window.findChild<QAbstractButton *>(target))
            return {button, button->rect().center()};
        auto &list = get<QListWidget>(u"menu_list"_s);
        QListWidgetItem *item = list.findItems(target, Qt::MatchStartsWith).value(0);
        list.scrollToItem(item);
        return {list.viewport(), list.visualItemRect(item).center()};
    }
    void click(const QString &target)
    {
        const auto [widget, point] = place(target);
        QTest::mouseClick(widget, Qt::LeftButton, {}, point);
    }
    QString written() const { return unit.sent_lines().filter(u"="_s).join(u' '); }
    // Whether anything of the window took input at that moment: its controls or its menus.
    bool unlocked() const { return window.centralWidget()->isEnabled() || window.menuBar()->isEnabled(); }
    QString shown() const { return messages.join(u'\n'); }
    // Opens the Port menu with a click on the menu bar: its port entries, as the menu shows them.
    QList<QAction *> port_entries()
    {
        auto &menu = get<QMenu>(u"port"_s);
        menu.hide();
        QTest::mouseClick(window.menuBar(), Qt::LeftButton, {},
                          window.menuBar()->actionGeometry(menu.menuAction()).center());
        QList<QAction *> entries = menu.actions();
        entries.removeIf([](QAction *action) { return action->objectName() != u"port_entry"_s; });
        return entries;
    }
    QStringList port_texts()
    {
        QStringList texts;
        for (QAction *entry : port_entries())
            texts.append(entry->text() + (entry->isEnabled() ? u""_s : u" (disabled)"_s));
        return texts;
    }
    void choose_port(int row)
    {
        auto &menu = get<QMenu>(u"port"_s);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(port_entries().at(row)).center());
    }

    QTemporaryDir folder; // the settings file lies in a folder of it that does not exist
    QString config_file;
    QStringList messages, statuses;
    std::function<void()> while_waiting = [] {}; // runs in each turn of an exchange's wait
    int quits = 0;
    QList<settings::Difference> offered; // what the compare dialog would list
    std::optional<QStringList> checked;  // the names left checked in it; nothing: Cancel
    QStringList asked;                   // the questions put, each answered with answer
    bool answer = true;
    QList<ports::SystemPort> system;     // the serial ports the system reports
    QStringList dialogs;                 // each file dialog asked for: its caption and folder
    QStringList chosen;                  // what the file dialogs give in turn; empty: Cancel
    bool real_dialogs = false;           // Qt's file dialog itself instead of chosen
    QList<backup::ListedVersion> listed; // what File › Backups... would list; the oldest is chosen
    QStringList unit_changes;            // what Changes since backup listed: each unit, then its items; last why locked
    // The rack of the Units window: the ports folder's links, names and backups in the rig's folder.
    rack::UnitNames names{folder.filePath(u"names"_s)};
    backup::BackupStore store{folder.filePath(u"backups"_s)};
    rack::Rack rack{[this] { return system; }, names, store};
    test::FakeUnit unit;
    app::MainWindow window{app::WindowHooks{
        .show_message = [this](QWidget *, const QString &text, auto &, auto, auto &) { messages.append(text); },
        .process_events =
            [this] {
                statuses.append(window.statusBar()->currentMessage());
                while_waiting();
                unit.step();
                QCoreApplication::processEvents(); // what arrives from the operator meanwhile
            },
        .environment =
            [this] {
                QProcessEnvironment path; // Help's viewer is looked for in the folder's path/ alone
                path.insert(u"PATH"_s, folder.filePath(u"path"_s));
                return path;
            }(),
        .program_folder = folder.filePath(u"bin"_s),
        .quit = [this] { ++quits; },
        .choose_differences =
            [this](QWidget *, QList<settings::Difference> differences) {
                unit.clear_sent(); // what the compare's own read sent
                offered = differences;
                differences.removeIf(
                    [this](auto &difference) { return !checked || !checked->contains(difference.name); });
                return checked ? std::optional(differences) : std::nullopt;
            },
        .ask =
            [this](QWidget *, const QString &question) {
                asked.append(question);
                return answer;
            },
        .system_ports = [this] { return system; },
        .by_id_folder = folder.filePath(u"by-id"_s),
        .find_units = {},
        .ask_network_port = &app::ask_network_port,
        .choose_file =
            [this](QWidget *parent, const QString &caption, const QString &start, app::FileDialogMode mode) {
                dialogs.append(caption + u" in "_s + start);
                if (real_dialogs)
                    return app::choose_settings_file(parent, caption, start, mode);
                return chosen.isEmpty() ? QString() : chosen.takeFirst();
            },
        .config_file = config_file,
        .choose_backup =
            [this](QWidget *, const QList<backup::ListedVersion> &versions) {
                listed = versions;
                return std::optional(versions.constLast().version.path);
            },
        .choose_unit_changes =
            [this](QWidget *, QList<rack::UnitChanges> changes, const QStringList &units, const QString &locked) {
                for (qsizetype i = 0; i < changes.size(); ++i) {
                    unit_changes.append(units.at(i));
                    for (const settings::Difference &difference : changes.at(i).differences)
                        unit_changes.append(
                            u"  %1 %2 %3"_s.arg(difference.name).arg(difference.file).arg(difference.unit));
                    changes[i].differences.removeIf(
                        [this](auto &difference) { return !checked || !checked->contains(difference.name); });
                }
                unit_changes.append(locked);
                return checked ? std::optional(changes) : std::nullopt;
            }}};
    session::UnitSession session{window.operator_side(), window.view(), &unit};
    catalogue::Catalogue &catalogue = session.catalogue;
    catalogue::CurrentModel &model = session.model;
    link::Link &link = session.link;
    link::ModeBracket &bracket = session.bracket;
    panel::Panel &panel = session.panel;
    settings::SettingsFile settings{catalogue, bracket, window.operator_side(), panel,
                                    folder.filePath(u"missing/quvex.cfg"_s)};
};
