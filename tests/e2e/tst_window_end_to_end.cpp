// The real window on the real serial port, through a pseudo-terminal, against quvex-sim: what an
// operator at the keyboard, or one who clicks quickly, meets on a bench.
#include "app/find_units_dialog.h"
#include "app/main_window.h"
#include "app/window_hooks.h"
#include "catalogue/catalogue.h"
#include "link/stop_signals.h"
#include "session/unit_session.h"
#include "settings/settings_file.h"
#include "support/serial_rig.h"
#include "support/sim_process.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtWidgets>

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

    QStringList messages;
    app::MainWindow window{[this] {
        app::WindowHooks hooks;
        hooks.show_message = [this](QWidget *, const QString &text, auto &, auto, auto &) { messages.append(text); };
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
    QTemporaryDir folder;
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
