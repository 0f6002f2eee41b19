// The real window on the real serial port, through a pseudo-terminal, against quvex-sim: what an
// operator at the keyboard, or one who clicks quickly, meets on a bench.
#include "app/find_units_dialog.h"
#include "app/main_window.h"
#include "app/units_window.h"
#include "app/window_hooks.h"
#include "catalogue/catalogue.h"
#include "link/stop_signals.h"
#include "ports/device_lock.h"
#include "rack/rack.h"
#include "rack/unit_names.h"
#include "session/unit_session.h"
#include "settings/settings_file.h"
#include "support/serial_rig.h"
#include "support/settings_bytes.h"
#include "support/sim_process.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtWidgets>

#include <csignal>
#include <cstdio>

using namespace quvex;
using namespace Qt::StringLiterals;

namespace {

// The window as main() builds it, but messages are recorded instead of waiting for a click.
struct WindowRig
{
    WindowRig()
    {
        window.attach(session, settings);
        window.attach_rack(rack);
        panel.Form_Load();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    template <typename T = QWidget>
    T &get(const QString &name)
    {
        return *window.findChild<T *>(name);
    }
    // Presses key until the focus is on the control named until, or times times.
    void key(Qt::Key key, int times = 1, const QString &until = {})
    {
        for (int i = 0; i < times && focused() != until; ++i)
            QTest::keyClick(QApplication::focusWidget(), key);
    }
    QString focused() const { return QApplication::focusWidget()->objectName(); }

    QStringList messages, asked, changes; // changes: what Changes since backup listed, all sent
    QTemporaryDir folder;
    // The Units window's rack, on the comN links of the ports folder; it watches every second.
    rack::UnitNames names{folder.filePath(u"names"_s)};
    backup::BackupStore store{folder.filePath(u"backups"_s)};
    rack::Rack rack{[] { return QList<ports::SystemPort>(); }, names, store};
    app::MainWindow window{[this] {
        app::WindowHooks hooks;
        hooks.show_message = [this](QWidget *, const QString &text, auto &, auto, auto &) { messages.append(text); };
        hooks.ask = [this](QWidget *, const QString &question) {
            asked.append(question);
            return true;
        };
        hooks.choose_file = [this](QWidget *, auto &, auto &, auto) { return folder.filePath(u"qvm.cfg"_s); };
        hooks.config_file = folder.filePath(u"quvex-panel.conf"_s);
        hooks.choose_unit_changes = [this](QWidget *, auto &found, const QStringList &units, auto &) {
            for (qsizetype i = 0; i < found.size(); ++i) {
                for (const settings::Difference &difference : found.at(i).differences)
                    changes.append(
                        u"%1: %2 %3 %4"_s.arg(units.at(i), difference.name).arg(difference.file).arg(difference.unit));
            }
            return std::optional(found);
        };
        QSettings(hooks.config_file, QSettings::IniFormat).setValue(app::UnitsWindow::kWatchKey, 1);
        hooks.process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
        hooks.quit = [] {};
        hooks.find_units = &app::find_units;
        return hooks;
    }()};
    session::UnitSession session{window.operator_side(), window.view()};
    catalogue::Catalogue &catalogue = session.catalogue;
    catalogue::CurrentModel &model = session.model;
    link::Link &link = session.link;
    link::ModeBracket &bracket = session.bracket;
    panel::Panel &panel = session.panel;
    settings::SettingsFile settings{catalogue, bracket, window.operator_side(), panel, folder.filePath(u"quvex.cfg"_s)};
};

const char *const kPanelChild = "QUVEX_PANEL_CHILD";

// The panel as its main() builds it, real message boxes and stop signals included, choosing
// QUVEXview Max as it starts. Each box is announced on standard output as "box: <first line>".
int run_panel_child()
{
    QApplication::setApplicationName(u"quvex-panel"_s);
    link::StopSignals stop_signals;
    app::WindowHooks hooks = app::production_hooks();
    hooks.show_message = [show = hooks.show_message](QWidget *parent, const QString &text, const QString &title,
                                                     link::MessageIcon icon, const QString &detail) {
        std::printf("box: %s\n", qPrintable(text.section(u'\r', 0, 0)));
        std::fflush(stdout);
        show(parent, text, title, icon, detail);
    };
    app::MainWindow window(hooks);
    session::UnitSession unit(window.operator_side(), window.view());
    QTemporaryDir folder;
    settings::SettingsFile settings(unit.catalogue, unit.bracket, window.operator_side(), unit.panel,
                                    folder.filePath(u"quvex.cfg"_s));
    window.attach(unit, settings);
    window.stop_on(stop_signals);
    unit.panel.Form_Load();
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.findChild<QAbstractButton *>(u"quvex_2"_s)->click(); });
    return stop_signals.finish(QApplication::exec());
}

} // namespace

class TestWindowEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit()); }

    void stopped_panel_data()
    {
        QTest::addColumn<QStringList>("sim");          // besides --com 1 --trace
        QTest::addColumn<QStringList>("signals_sent"); // each sent at its moment, as test::send_signals does
        QTest::addColumn<QString>("wire");             // heard from the first signal's moment on
        QTest::addColumn<QString>("ended");
        QTest::addColumn<QString>("err");
        // Each answer comes late, so that each signal arrives while its exchange waits. The unit is
        // in NTSC underscan: the first group switch of the first read all is Overscan=1.
        const QStringList late{u"--delay"_s, u"150"_s};
        QTest::addRow("SIGTERM before the picture groups")
            << late << QStringList{u"TERM Overscan"_s} << u"Overscan"_s << u"SIGTERM"_s << QString();
        QTest::addRow("SIGTERM in the picture groups")
            << late << QStringList{u"TERM Overscan=1"_s} << u"Overscan=1 Overscan=0"_s << u"SIGTERM"_s << QString();
        QTest::addRow("SIGINT there, again in the restore")
            << late << QStringList{u"INT Overscan=1"_s, u"INT +"_s} << u"Overscan=1 Overscan=0"_s << u"SIGINT"_s
            << u"quvex-panel: the unit may be left in NTSC overscan (Video Std 0, Overscan 1); its own video mode is "
               "NTSC underscan (Video Std 0, Overscan 0)"_s;
        // The box waits for an OK that never comes; the unit's mode is not switched.
        QTest::addRow("SIGHUP while a box waits")
            << QStringList{u"--silent"_s} << QStringList{u"HUP box"_s} << u"Overscan"_s << u"SIGHUP"_s << QString();
    }

    // The panel process stopped from outside during its first read all: the unit keeps its own
    // video mode, no box stays open, and the port closes without a word.
    void stopped_panel()
    {
        QFETCH(QStringList, sim);
        QFETCH(QStringList, signals_sent);
        const auto unit = test::start_sim(sim + QStringList{u"--com"_s, u"1"_s, u"--trace"_s});
        QProcess panel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kPanelChild), u"1"_s);
        panel.setProcessEnvironment(environment);
        test::start_child(panel, QCoreApplication::applicationFilePath(), {});
        const int from = test::send_signals(panel, *unit, signals_sent);
        QVERIFY(from >= 0);
        QVERIFY(panel.waitForFinished(10000));
        QTEST(test::how_ended(panel), "ended");
        // Its own lines only, not Qt's.
        QTEST(QString::fromLocal8Bit(panel.readAllStandardError())
                  .split(u'\n')
                  .filter(QRegularExpression(u"^quvex-panel: "_s))
                  .join(u'\n'),
              "err");
        QCOMPARE(panel.readAllStandardOutput(), QByteArray()); // no box but the one the signal closed
        QTEST(unit->heard(1000).mid(from).join(u' '), "wire");
        if (sim.contains(u"--silent"_s))
            return;
        test::SerialRig rig;
        rig.link.open_port();
        QCOMPARE(rig.link.query_item_value(u"Video Std"_s)->number(), 0.0);
        QCOMPARE(rig.link.query_item_value(u"Overscan"_s)->number(), 0.0);
    }

    // The whole panel without a mouse: the port typed, the unit type chosen with the arrows
    // and Space, the list walked with the arrows, a value typed and sent with Enter.
    void keyboard_walk_through()
    {
        const auto sim = test::start_sim({u"--com"_s, u"3"_s, u"--no-pacing"_s});
        WindowRig rig;
        auto &list = rig.get<QListWidget>(u"menu_list"_s);
        auto &port_box = rig.get<QLineEdit>(u"commport"_s);
        port_box.setFocus(Qt::TabFocusReason);
        QTest::keyClick(&port_box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&port_box, u"3"_s);
        rig.key(Qt::Key_Tab);
        QCOMPARE(rig.focused(), u"quvex_0"_s);
        rig.key(Qt::Key_Down, 2);
        QCOMPARE(rig.model.index(), 0); // arrows only move the focus
        rig.key(Qt::Key_Space);
        QCOMPARE(rig.model.code(), u"QVM"_s);
        QCOMPARE(list.count(), 65); // 57 items and 8 headings
        QCOMPARE(rig.focused(), u"quvex_2"_s);

        rig.key(Qt::Key_Tab, 30, u"menu_list"_s);
        rig.key(Qt::Key_Home);
        rig.key(Qt::Key_Down, 2);
        QCOMPARE(rig.get<QGroupBox>(u"adjustment"_s).title(), u"Flicker Red."_s);
        QCOMPARE(rig.focused(), u"menu_list"_s);

        rig.key(Qt::Key_Tab, 30, u"item_value"_s);
        QTest::keyClicks(QApplication::focusWidget(), u"7"_s);
        rig.key(Qt::Key_Return);
        QCOMPARE(list.currentItem()->text(), u"Flicker Red.      7"_s);
        QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).selectedText(), u"7"_s);
        QCOMPARE(rig.focused(), u"item_value"_s);
        QCOMPARE(rig.messages, QStringList());
    }

    // Detect model with the port closed probes it and connects; Find units then reports the open
    // port without opening it again, and the unit chosen in its dialog connects after the panel
    // has disconnected; Detect model after a wrong guess puts the unit's model back.
    void find_units_and_detect_model()
    {
        std::vector<std::unique_ptr<test::SimProcess>> sims;
        for (const QString &unit : {u"QVL"_s, u"QVM"_s, u"QK1"_s, u"--silent"_s})
            sims.push_back(test::start_sim({unit.startsWith(u'-') ? unit : u"--model"_s, unit, u"--no-pacing"_s,
                                            u"--com"_s, QString::number(sims.size() + 1)}));
        const QString gone = m_home.filePath(u"gone"_s);
        QVERIFY(QFile::link(gone, m_home.filePath(u"quvex/ports/com5"_s)));
        WindowRig rig;
        rig.get<QAction>(u"detect_model"_s).trigger();
        QVERIFY(rig.get<QRadioButton>(u"quvex_1"_s).isChecked());

        QStringList rows;
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            auto &progress = *dialog->findChild<QProgressBar *>(u"progress"_s);
            QTRY_COMPARE_WITH_TIMEOUT(progress.value(), 5, 5000);
            auto &units = *dialog->findChild<QTreeWidget *>(u"units"_s);
            for (int row = 0; row < units.topLevelItemCount(); ++row) {
                const QTreeWidgetItem *line = units.topLevelItem(row);
                rows.append(line->text(0) + u'|' + line->text(1) + u'|' + line->text(2));
            }
            QTreeWidgetItem *qvm = units.findItems(u"COM 2"_s, Qt::MatchExactly).value(0);
            QTest::mouseClick(units.viewport(), Qt::LeftButton, {}, units.visualItemRect(qvm).center());
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"connect"_s), Qt::LeftButton);
        });
        rig.get<QAction>(u"find_units"_s).trigger();
        rows.sort();
        const QString no_device =
            u" does not exist: the adapter is not plugged in, or the port number names another port."_s;
        QCOMPARE(rows,
                 QStringList({u"COM 1|"_s + sims[0]->device_path() + u"|QVL QUVEXview Lite (open in this panel)"_s,
                              u"COM 2|"_s + sims[1]->device_path() + u"|QVM QUVEXview Max"_s,
                              u"COM 3|"_s + sims[2]->device_path() + u"|QK1 QUVEXkey Solo"_s,
                              u"COM 4|"_s + sims[3]->device_path() + u"|no answer"_s,
                              u"COM 5|"_s + gone + u'|' + gone + no_device}));
        QCOMPARE(rig.messages, QStringList{u"COM port closed."_s});
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"2"_s);
        QVERIFY(rig.get<QRadioButton>(u"quvex_2"_s).isChecked() && rig.link.is_port_open());

        rig.get<QAbstractButton>(u"quvex_3"_s).click();
        rig.messages.clear();
        rig.get<QAction>(u"detect_model"_s).trigger();
        QCOMPARE(rig.messages, QStringList{u"The unit on COM 2 is QUVEXview Max, not QUVEXview Max X as chosen."_s});
        QVERIFY(rig.get<QRadioButton>(u"quvex_2"_s).isChecked());
        QCOMPARE(rig.get<QListWidget>(u"menu_list"_s).count(), 65);
        QFile::remove(m_home.filePath(u"quvex/ports/com5"_s));
    }

    // Port › Units... beside the panel, over four units and a silent port: their rows and states,
    // a backup of all, a file loaded into the units of its model, and Open in panel by the keys.
    // Meanwhile the rack refreshes, watches and acts, and the panel's own unit hears nothing but
    // the panel.
    void units_window()
    {
        std::vector<std::unique_ptr<test::SimProcess>> sims;
        for (const QString &unit : {u"QVM"_s, u"QVM"_s, u"QVM"_s, u"QVL"_s, u"--silent"_s})
            sims.push_back(test::start_sim({unit.startsWith(u'-') ? unit : u"--model"_s, unit, u"--no-pacing"_s,
                                            u"--trace"_s, u"--com"_s, QString::number(sims.size() + 1)}));
        WindowRig rig;
        rig.get<QLineEdit>(u"commport"_s).setText(u"1"_s);
        rig.get<QAbstractButton>(u"quvex_2"_s).click();
        const qsizetype panel_lines = sims[0]->heard(300).size();
        QVERIFY(panel_lines > 0);

        rig.get<QAction>(u"units"_s).trigger();
        app::UnitsWindow &units = *rig.window.units_window();
        QTRY_COMPARE(QApplication::activeWindow(), &units);
        QCOMPARE(QApplication::focusWidget(), &units.table());
        const auto rows = [&units](int column) {
            QStringList rows;
            const QAbstractItemModel &model = *units.table().model();
            for (int row = 0; row < model.rowCount(); ++row) {
                rows.append(model.index(row, 0).data().toString() + u'|' + model.index(row, 3).data().toString() + u'|'
                            + model.index(row, column)
                                  .data()
                                  .toString()
                                  .replace(QRegularExpression(u"\\d\\d:\\d\\d:\\d\\d"_s), u"hh:mm:ss"_s));
            }
            return rows;
        };
        const QString max = u"QVM QUVEXview Max"_s;
        QTRY_COMPARE_WITH_TIMEOUT(rows(4),
                                  QStringList({u"1|"_s + max + u"|open in this panel (answers)"_s,
                                               u"2|"_s + max + u"|answers"_s, u"3|"_s + max + u"|answers"_s,
                                               u"4|QVL QUVEXview Lite|answers"_s, u"5||no answer (since hh:mm:ss)"_s}),
                                  10000);

        auto &summary = *units.findChild<QLabel *>(u"summary"_s);
        QTest::keyClick(&units.table(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&units.table(), Qt::Key_B, Qt::ControlModifier);
        auto &cancel = *units.findChild<QAction *>(u"units_cancel"_s);
        QVERIFY(cancel.isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!summary.text().isEmpty(), 20000);
        QCOMPARE(summary.text(), u"3 of 5 backed up; COM 1: open in this panel; COM 5: no answer"_s);
        QCOMPARE(rows(7), QStringList({u"1|"_s + max + u"|open in this panel"_s, u"2|"_s + max + u"|new version"_s,
                                       u"3|"_s + max + u"|new version"_s, u"4|QVL QUVEXview Lite|new version"_s,
                                       u"5||no answer"_s}));
        QCOMPARE(rig.store.units().size(), 3);

        // A watch query reaches the units the panel does not have.
        const qsizetype heard = sims[1]->heard().size();
        QTRY_VERIFY_WITH_TIMEOUT(sims[1]->heard().size() > heard, 5000);

        test::write_file(rig.folder.filePath(u"qvm.cfg"_s),
                         test::settings_header("QUVEXview Max") + test::settings_pair("Zoom", "1"));
        summary.clear();
        units.table().clearSelection();
        units.table().selectionModel()->select(units.table().model()->index(2, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        units.table().selectionModel()->select(units.table().model()->index(3, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(&units.table(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(rig.asked, QStringList{u"Load "_s + rig.folder.filePath(u"qvm.cfg"_s)
                                        + u" into COM 3? Another model, left alone: COM 4."_s});
        QTRY_VERIFY_WITH_TIMEOUT(!summary.text().isEmpty(), 20000);
        QCOMPARE(summary.text(), u"1 of 1 loaded; COM 4: another model, left alone"_s);

        // The load's change, since the backup; and a run cancelled with Esc.
        summary.clear();
        QTest::keyClick(&units.table(), Qt::Key_D, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(summary.text(), u"1 of 1 sent"_s, 20000);
        QCOMPARE(rig.changes, QStringList{u"COM 3: Zoom 0 1"_s});
        QCOMPARE(rows(6).at(2), u"3|"_s + max + u"|1 item"_s);
        summary.clear();
        QTest::keyClick(&units.table(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&units.table(), Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(&units.table(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!summary.text().isEmpty(), 20000);
        QCOMPARE(summary.text(), u"0 of 5 compared; COM 1: open in this panel; COM 2: stopped; COM 3: stopped; COM 4: "
                                 "stopped; COM 5: stopped"_s);
        QVERIFY(!cancel.isEnabled());
        QCOMPARE(sims[0]->heard(300).size(), panel_lines);

        units.table().setCurrentIndex(units.table().model()->index(1, 0));
        QTest::keyClick(&units.table(), Qt::Key_Return);
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"2"_s);
        QVERIFY(rig.get<QRadioButton>(u"quvex_2"_s).isChecked() && rig.link.is_port_open());
        QCOMPARE(rig.messages, QStringList{u"COM port closed."_s});

        // A watch query that holds the panel's next port lets go of it before the panel opens it.
        const auto pid = pid_t(sims[2]->process().processId());
        ::kill(pid, SIGSTOP);
        QTRY_VERIFY_WITH_TIMEOUT(!ports::device_holder(sims[2]->device_path()).isEmpty(), 5000);
        rig.messages.clear();
        units.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &units);
        units.table().setCurrentIndex(units.table().model()->index(2, 0));
        QTest::keyClick(&units.table(), Qt::Key_Return);
        ::kill(pid, SIGCONT);
        // Opened: the unit, stopped, does not answer it.
        QCOMPARE(rig.messages,
                 QStringList({u"COM port closed."_s, u"QUVEX unit not responding.\rPlease check cables,\r "
                                                     "that BaudRate=23\r and that RS232 = Control."_s}));
    }
};

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (qEnvironmentVariableIsSet(kPanelChild))
        return run_panel_child();
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    TestWindowEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_end_to_end.moc"
