#include "app/backups_dialog.h"
#include "app/compare_dialog.h"
#include "app/list_paint_pacer.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/network_port_dialog.h"
#include "app/wire_log_window.h"
#include "catalogue/catalogue.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "ports/port_device.h"
#include "settings/settings_file.h"
#include "support/fake_unit.h"
#include "support/messages.h"
#include "support/settings_bytes.h"

#include <QTest>
#include <QtWidgets>

using namespace quvex;
using namespace Qt::StringLiterals;

// The real window and core on a fake unit. The hooks record what would be shown, and waiting for
// the unit runs the fake unit's virtual clock, so nothing waits in real time.
struct Rig
{
    // Connected chooses QUVEXview Max, which reads the unit; what that sent is forgotten. The
    // panel's settings are kept in config, else in a file of the rig's own.
    explicit Rig(bool connected = true, const QString &config = {})
        : config_file(config.isEmpty() ? folder.filePath(u"config/quvex-panel.conf"_s) : config)
    {
        catalogue::build_catalogue(catalogue);
        unit.on_tick = [this] { link.Timer1_Timer(); };
        window.attach(link, panel, settings);
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
    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
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
            }}};
    link::Link link{unit, window.operator_side()};
    link::ModeBracket bracket{link};
    panel::Panel panel{catalogue, model, link, bracket, window.operator_side(), window.view()};
    settings::SettingsFile settings{catalogue, bracket, window.operator_side(), panel,
                                    folder.filePath(u"missing/quvex.cfg"_s)};
};

// Counts the paints a widget gets.
struct PaintCount : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The window on the real core: each control and menu item must reach its operation and what the
// core sets must show; what the operations do is tested in the core's own tests.
class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config; // the ports folder's

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit()); }

    void starts_disconnected_then_a_model_reads_the_unit()
    {
        Rig rig(false);
        QCOMPARE(rig.window.windowTitle(), u"QUVEX control panel"_s);
        QCOMPARE(rig.get(u"quvex_0"_s).text(), u"Dis-connected"_s);
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"1"_s);
        const auto &list = rig.get<QListWidget>(u"menu_list"_s);
        QVERIFY(rig.get(u"quvex_0"_s).isChecked() && list.count() == 0 && rig.get(u"feat_0"_s).isHidden());
        const auto &editor = rig.get<QGroupBox>(u"adjustment"_s);
        QCOMPARE(editor.accessibleName(), u"Selected adjustment"_s);
        rig.unit.refuse_open = true; // the unit type falls back when the port will not open
        rig.get(u"quvex_3"_s).click();
        QCOMPARE(rig.shown(), u"Could not open COM port - please check COM port number."_s);
        QVERIFY(rig.get(u"quvex_0"_s).isChecked() && list.count() == 0);

        rig.unit.refuse_open = false;
        rig.unit.set_value(u"Overscan"_s, 1);
        rig.get(u"quvex_2"_s).click();
        QCOMPARE(list.count(), 65);
        QCOMPARE(list.item(0)->text(), u"Overscan          1 (On)"_s);
        QVERIFY(rig.statuses.contains(u"Reading 1 of 65: Overscan"_s));
        rig.click(u"Overscan"_s);
        QCOMPARE(editor.title(), u"Overscan"_s);
        QCOMPARE(editor.accessibleName(), u"Selected adjustment: Overscan"_s); // what a screen reader says
        rig.click(u"Pan X Pos:"_s);
        QCOMPARE(editor.accessibleName(), u"Selected adjustment: Pan X Pos:"_s);
        rig.click(u"Overscan"_s);
        QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).text(), u"1"_s);
        QCOMPARE(rig.get(u"feat_1"_s).text(), u"On"_s);
        QVERIFY(rig.get(u"feat_1"_s).isVisible() && rig.get(u"feat_1"_s).isChecked()
                && rig.get(u"feat_2"_s).isHidden());
    }

    // A run locks the window, changes only lines out of sight and unlocks it while the list's
    // painting is held back: the lines in sight must not stay greyed out.
    void list_unlocked_while_its_painting_is_held_is_painted_again()
    {
        QListWidget list;
        for (int row = 0; row < 100; ++row)
            list.addItem(QString::number(row));
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        app::ListPaintPacer pacer(list);
        PaintCount shown;
        list.viewport()->installEventFilter(&shown);
        list.setEnabled(false);
        QTRY_VERIFY(shown.paints > 0); // greyed out
        pacer.before_change(99);
        list.item(99)->setText(u"changed"_s);
        list.setEnabled(true);
        shown.paints = 0;
        QTRY_VERIFY(shown.paints > 0);
    }

    // A real click on each button in turn, each in the sense its picture shows; then each menu item,
    // with a value typed and left in the box: opening a menu takes the focus, and sends nothing.
    void each_control_reaches_its_operation()
    {
        Rig rig;
        rig.click(u"Pan X Pos:"_s);
        for (const QString &button : u"inc dec Command1 Command5 Command4 Command3 Command6 Command7 Command8 Command9 "
                                     "Command2 Command20 Command22 Command21 feat_1 Command13 Command10 Command11 "
                                     "Command12 Command24"_s.split(u' '))
            rig.click(button);
        auto &value_box = rig.get<QLineEdit>(u"item_value"_s);
        value_box.selectAll();
        QTest::keyClicks(&value_box, u"42"_s);
        QFocusEvent focus_out(QEvent::FocusOut, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(&value_box, &focus_out);
        QCOMPARE(rig.written(),
                 u"PanXPos:=1 PanXPos:=0 OutV-Centre:=255 OutV-Centre:=256 OutH-Centre:=511 OutH-Centre:=512 "
                 "OutH-Width:=641 OutH-Width:=640 OutV-Height:=481 OutV-Height:=480 Zoom=1 Zoom=0 "
                 "Overscan=1 Overscan=0 Overscan=1 PanYPos:=1 PanYPos:=0 PanXPos:=1 PanXPos:=0 AutoSet=1"_s);

        QStringList first_lines;
        for (const QString &action :
             u"fileopen filesave store_settings vga_store read_unit write_unit reset_unit"_s.split(u' ')) {
            rig.unit.clear_sent();
            rig.get<QAction>(action).trigger();
            first_lines.append(rig.unit.sent_lines().value(0));
        }
        QCOMPARE(first_lines.join(u'|'), u"||StoreSettings=1|VGAStore=1|Overscan|Overscan=1|Reset=1"_s);
        const QString file = QDir::toNativeSeparators(rig.settings.path());
        QCOMPARE(rig.shown(),
                 u"Could not open file %1\nError writing to %1\nClick OK when unit has reset."_s.arg(file));
    }

    void closing_closes_the_port_but_exit_does_not()
    {
        Rig closing, exiting;
        QVERIFY(closing.window.close());
        exiting.get<QAction>(u"exit"_s).trigger();
        QCOMPARE(closing.shown(), u"COM port closed."_s);
        QCOMPARE(exiting.shown(), QString());
        QVERIFY(!closing.unit.is_open() && exiting.unit.is_open());
        QVERIFY(closing.quits == 1 && exiting.quits == 1);
    }

    void click_that_takes_the_focus_from_the_value_box_still_acts_data()
    {
        QTest::addColumn<QString>("pressed"); // a button, or the list line starting with this text
        QTest::addColumn<QString>("released");
        QTest::addColumn<QString>("wire");
        QTest::addRow("plus") << u"inc"_s << u"inc"_s << u"PanXPos:=77 PanXPos: PanXPos:=78 PanXPos:"_s;
        QTest::addRow("pan up") << u"Command13"_s << u"Command13"_s << u"PanXPos:=77 PanXPos: PanYPos:=1 PanYPos:"_s;
        QTest::addRow("another line") << u"Pan Y Pos:"_s << u"Pan Y Pos:"_s << u"PanXPos:=77 PanXPos: PanYPos:"_s;
        QTest::addRow("a drag over lines")
            << u"Overscan"_s << u"Flicker Red."_s << u"PanXPos:=77 PanXPos: FlickerRed."_s;
    }

    // The release of the click arrives while the typed value is still on its way to the unit,
    // as it does when a person clicks. A drag over the list chooses the line where it ends.
    void click_that_takes_the_focus_from_the_value_box_still_acts()
    {
        QFETCH(QString, pressed);
        QFETCH(QString, released);
        Rig rig;
        rig.click(u"Pan X Pos:"_s);
        auto &value_box = rig.get<QLineEdit>(u"item_value"_s);
        value_box.setFocus();
        value_box.selectAll();
        QTest::keyClicks(&value_box, u"77"_s);
        rig.unit.clear_sent();

        const auto [widget, from] = rig.place(pressed);
        const QPoint to = rig.place(released).second;
        bool done = false;
        QTimer::singleShot(0, widget, [&, widget = widget] {
            QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(widget, &move);
            QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
            done = true;
        });
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTRY_VERIFY(done);
        QCoreApplication::processEvents();
        QTEST(rig.unit.sent_lines().join(u' '), "wire");
        QVERIFY(widget->hasFocus() || widget->parentWidget()->hasFocus());
    }

    void operations_lock_controls_and_menus_data()
    {
        QTest::addColumn<QString>("control"); // a button, else a menu item
        QTest::addColumn<bool>("silent");
        QTest::addRow("store settings, unit silent") << u"store_settings"_s << true;
        QTest::addRow("auto set") << u"Command24"_s << false;
        QTest::addRow("picture right, unit silent") << u"Command3"_s << true;
        QTest::addRow("read all") << u"read_unit"_s << false;
    }

    // Closing is refused from the start to the end of an operation, its warnings included: the
    // port must not go from under an exchange, nor a warning appear for a window that is gone.
    void operations_lock_controls_and_menus()
    {
        QFETCH(QString, control);
        QFETCH(bool, silent);
        Rig rig;
        rig.click(u"Flicker Red."_s);
        if (silent)
            rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        rig.messages.clear();
        int turns = 0, unlocked = 0, closed = 0;
        rig.while_waiting = [&] {
            ++turns;
            unlocked += rig.unlocked();
            closed += rig.window.close();
        };
        if (rig.window.findChild<QAbstractButton *>(control))
            rig.click(control);
        else
            rig.get<QAction>(control).trigger();

        QVERIFY(turns > 0 && unlocked == 0 && closed == 0);
        QCOMPARE(rig.shown(), silent ? test::kNoResponse : QString());
        QVERIFY(rig.unlocked() && rig.window.isVisible() && rig.unit.is_open());
    }

    void lock_keeps_changes_from_the_unit_data()
    {
        QTest::addColumn<QString>("input"); // a button, "type <text> <key>", "menu <item>", or "recent"
        QStringList inputs =
            u"inc dec feat_1 Command1 Command5 Command4 Command3 Command6 Command7 Command8 Command9 "
            "Command2 Command20 Command13 Command10 Command11 Command12 Command21 Command22 Command24"_s.split(u' ');
        inputs << u"type 0 Return"_s << u"type 0 Tab"_s << u"recent"_s;
        for (const QString &item : u"fileopen open_file filecompare compare_file store_settings vga_store write_unit "
                                   "reset_unit"_s.split(u' '))
            inputs << u"menu "_s + item;
        for (const QString &input : inputs)
            QTest::addRow("%s", qPrintable(input)) << input;
    }

    // Each path that changes the unit, used while changes are locked: nothing it sends changes the
    // unit (the compare's own read may switch modes before the list), no control or menu item
    // changes its enabled state, the status line says why and the editor shows the unit's value.
    void lock_keeps_changes_from_the_unit()
    {
        QFETCH(QString, input);
        Rig rig;
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"missing"_s)));
        rig.get<QAction>(u"filesave"_s).trigger();        // a file to open and compare, and to use again
        rig.chosen = QStringList(2, rig.settings.path()); // the second for Compare with file...
        rig.get<QAction>(u"save_file"_s).trigger();
        rig.unit.set_value(u"Zoom"_s, 1);
        rig.click(u"Zoom "_s);
        rig.checked = QStringList{u"Zoom"_s};
        const auto disabled = [&rig] {
            QStringList off;
            for (const QWidget *widget : rig.window.centralWidget()->findChildren<QWidget *>())
                off.append(widget->isEnabled() ? QString() : widget->objectName());
            for (const QAction *action : rig.window.findChildren<QAction *>())
                off.append(action->isEnabled() || !action->isVisible() ? QString() : action->objectName());
            return off.join(u' ').simplified();
        };
        const QString before = disabled();
        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(rig.get<QAction>(u"lock_changes"_s).isChecked());
        rig.unit.clear_sent();
        rig.dialogs.clear();

        const QStringList words = input.split(u' ');
        auto &box = rig.get<QLineEdit>(u"item_value"_s);
        auto &file = rig.get<QMenu>(u"file"_s);
        if (words[0] == u"type"_s) {
            box.setFocus();
            box.selectAll();
            QTest::keyClicks(&box, words[1]);
            QTest::keyClick(&box, words[2] == u"Tab"_s ? Qt::Key_Tab : Qt::Key_Return);
        } else if (words[0] == u"menu"_s) {
            rig.get<QAction>(words[1]).trigger();
        } else if (input == u"recent"_s) {
            QMenuBar &bar = *rig.window.menuBar();
            QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(file.menuAction()).center());
            QTRY_VERIFY(file.isVisible());
            QTest::mouseClick(&file, Qt::LeftButton, {},
                              file.actionGeometry(&rig.get<QAction>(u"recent_file_1"_s)).center());
        } else {
            rig.click(input);
        }
        QCoreApplication::processEvents();
        QCOMPARE(rig.written(), QString());
        QCOMPARE(rig.get<QLabel>(u"wire_hint"_s).text(), u"Changes are locked: Edit › Lock changes"_s);
        QCOMPARE(disabled(), before);
        QCOMPARE(box.text(), u"1"_s);
        QVERIFY(rig.shown().isEmpty() && rig.dialogs.filter(u"Open file"_s).isEmpty());
    }

    // A second window on the same settings starts locked; reading goes on, and unlocked it sends.
    void lock_survives_a_restart_and_reads_go_on()
    {
        QTemporaryDir config;
        {
            Rig first(false, config.filePath(u"panel.conf"_s));
            QVERIFY(first.get<QLabel>(u"lock_mark"_s).isHidden());
            QTest::keyClick(&first.window, Qt::Key_L, Qt::ControlModifier);
            QVERIFY(first.get<QLabel>(u"lock_mark"_s).isVisible());
        }
        Rig rig(true, config.filePath(u"panel.conf"_s));
        QVERIFY(rig.get<QAction>(u"lock_changes"_s).isChecked());
        QCOMPARE(rig.get<QLabel>(u"lock_mark"_s).text(), u"Changes locked"_s);
        rig.click(u"Flicker Red."_s);
        rig.click(u"inc"_s);
        rig.get<QAction>(u"read_unit"_s).trigger();
        QCOMPARE(rig.unit.sent_lines().mid(0, 3), QStringList({u"FlickerRed."_s, u"Overscan"_s, u"ImageFreeze"_s}));
        QVERIFY(rig.written().startsWith(u"Overscan=1 VideoStd=1"_s)); // the read's switches to the picture groups
        rig.unit.clear_sent();
        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        rig.click(u"inc"_s);
        QCOMPARE(rig.written(), u"FlickerRed.=5"_s);
        QVERIFY(rig.get<QLabel>(u"lock_mark"_s).isHidden());
    }

    // The Edit menu names each step. In the value box Ctrl+Z takes back the typing first, then
    // the last change sent; a step the unit does not take stays; locked, Undo is off; after
    // Reset it says why it cannot undo.
    void undo_and_redo_from_the_edit_menu()
    {
        Rig rig;
        auto &undo = rig.get<QAction>(u"undo"_s);
        auto &redo = rig.get<QAction>(u"redo"_s);
        QCOMPARE(rig.window.menuBar()->actions().at(1)->text(), u"Edit"_s);
        rig.click(u"Flicker Red."_s);
        auto &box = rig.get<QLineEdit>(u"item_value"_s);
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, u"7"_s);
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(undo.text(), u"Undo Flicker Red. 3 → 7"_s);
        QTest::keyClicks(&box, u"9"_s);
        rig.unit.clear_sent();
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box.text(), u"7"_s);
        QCOMPARE(rig.unit.sent_lines(), QStringList());
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rig.unit.sent_lines().join(u' '), u"FlickerRed.=3 FlickerRed."_s);
        QCOMPARE(box.text(), u"3"_s);
        QVERIFY(!undo.isEnabled() && redo.text() == u"Redo Flicker Red. 3 → 7"_s);
        rig.unit.clear_sent();
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(rig.unit.sent_lines().join(u' '), u"FlickerRed.=7 FlickerRed."_s);

        rig.click(u"Command3"_s);
        QCOMPARE(undo.text(), u"Undo NU\\Out H-Centre: 512 → 513"_s);
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
        undo.trigger();
        QCOMPARE(rig.shown(), test::kNoResponse + u"\nNot undone: NU\\Out H-Centre:"_s);
        QCOMPARE(undo.text(), u"Undo NU\\Out H-Centre: 512 → 513"_s);
        rig.unit.behaviour = test::FakeUnit::Behaviour::Answer;

        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!undo.isEnabled() && undo.toolTip() == u"Changes are locked: Edit › Lock changes"_s);
        QTest::keyClick(&rig.window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(undo.isEnabled());
        rig.get<QAction>(u"reset_unit"_s).trigger();
        QCOMPARE(undo.text(), u"Can't undo: Reset unit"_s);
        QVERIFY(!undo.isEnabled() && !redo.isEnabled());
    }

    void keyboard_data()
    {
        QTest::addColumn<QString>("line");  // picked with the mouse first
        QTest::addColumn<QString>("focus"); // the control the keys go to
        QTest::addColumn<QString>("keys");  // key names, or "=text" typed
        QTest::addColumn<QString>("wire");  // lines sent after the keys
        QTest::addColumn<QString>("focused");
        const QString flicker = u"Flicker Red."_s, box = u"item_value"_s, list = u"menu_list"_s;
        QTest::addRow("Space on plus") << flicker << u"inc"_s << u"Space"_s << u"FlickerRed.=5 FlickerRed."_s
                                       << u"inc"_s;
        QTest::addRow("Enter in the value box")
            << flicker << box << u"=42 Return"_s << u"FlickerRed.=42 FlickerRed."_s << box;
        QTest::addRow("keypad Enter, twice") << flicker << box << u"=42 Enter =7 Enter"_s
                                             << u"FlickerRed.=42 FlickerRed. FlickerRed.=7 FlickerRed."_s << box;
        QTest::addRow("typed, then Tab") << flicker << box << u"=42 Tab"_s << u"FlickerRed.=42 FlickerRed."_s
                                         << u"dec"_s;
        QTest::addRow("Down in the list") << u"Overscan"_s << list << u"Down"_s << u"ImageFreeze"_s << list;
        QTest::addRow("Down onto a heading") << flicker << list << u"Down"_s << u"Genlock"_s << list;
        QTest::addRow("Up onto a heading") << u"Genlock"_s << list << u"Up"_s << u"FlickerRed."_s << list;
        QTest::addRow("End of the list") << flicker << list << u"End"_s << u"VideoStd"_s << list;
        QTest::addRow("arrow in the unit-type group") << flicker << u"quvex_2"_s << u"Down"_s << u""_s << u"quvex_3"_s;
        QTest::addRow("arrow then Space in the unit-type group")
            << flicker << u"quvex_2"_s << u"Down Down Space"_s << u"Overscan"_s << u"quvex_4"_s;
        QTest::addRow("arrow among option buttons") << u"Zoom "_s << u"feat_0"_s << u"Down"_s << u""_s << u"feat_1"_s;
        QTest::addRow("arrow then Space among option buttons")
            << u"Zoom "_s << u"feat_0"_s << u"Down Space"_s << u"Zoom=1 Zoom"_s << u"feat_1"_s;
    }

    // Real key events through the window system, as a keyboard user's arrive. Each key is held a
    // while: its repeats that come while the unit is asked must not pile up into a run of exchanges.
    void keyboard()
    {
        QFETCH(QString, line);
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        Rig rig;
        rig.click(line);
        rig.unit.clear_sent();
        rig.get<QWidget>(focus).setFocus(Qt::TabFocusReason);
        Qt::Key held = Qt::Key_unknown;
        Qt::KeyboardModifiers modifiers;
        int repeats = 0;
        rig.while_waiting = [&] {
            if (repeats-- > 0)
                QTest::keyClick(rig.window.windowHandle(), held, modifiers);
        };
        for (const QString &key : keys.split(u' ')) {
            if (key.startsWith(u'=')) {
                QTest::keyClicks(QApplication::focusWidget(), key.mid(1));
                continue;
            }
            held = Qt::Key(QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + key).toLatin1().constData()));
            modifiers = key == u"Enter"_s ? Qt::KeypadModifier : Qt::NoModifier;
            repeats = 3;
            QTest::keyClick(rig.window.windowHandle(), held, modifiers);
        }
        QCoreApplication::processEvents();
        QFETCH(QString, wire);
        if (wire == u"Overscan"_s) // a unit type chosen reads the whole unit
            QCOMPARE(rig.unit.sent_lines().value(0), wire);
        else
            QCOMPARE(rig.unit.sent_lines().join(u' '), wire);
        QTEST(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), "focused");
        if (keys.contains(u"Return"_s))
            QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).selectedText(), u"42"_s);
    }

    void tab_order_follows_the_window()
    {
        Rig rig;
        rig.click(u"Overscan"_s);
        rig.get<QWidget>(u"commport"_s).setEnabled(true); // the port box only takes focus while disconnected
        rig.get<QWidget>(u"commport"_s).setFocus(Qt::TabFocusReason);
        QStringList walk;
        for (int i = 0; i < 24; ++i) {
            walk.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(walk.join(u' '), u"commport quvex_2 inc item_value dec feat_0 Command24 Command21 Command22 Command1 "
                                  "Command4 Command3 Command5 Command6 Command7 Command8 Command9 Command2 Command20 "
                                  "Command13 Command11 Command12 Command10 menu_list"_s);
        QCOMPARE(rig.unit.sent_lines(), QStringList{u"Overscan"_s}); // the click's read, nothing after
    }

    void help_shows_the_readme_data()
    {
        QTest::addColumn<QString>("copies");   // where readme.txt lies: here (the working folder), installed
        QTest::addColumn<QString>("xdg_open"); // the status that xdg-open on the PATH exits with; none there
        QTest::addColumn<QString>("opened");   // the file it was given, in the test's folder
        QTest::addColumn<QString>("text");     // what the panel's own text window shows
        QTest::addColumn<QString>("message");  // %1 the working folder
        const QString here = u"readme.txt"_s, installed = u"share/quvex-panel/readme.txt"_s;
        QTest::addRow("the installed copy in the viewer") << u"installed"_s << u"0"_s << installed << u""_s << u""_s;
        QTest::addRow("the working folder's first") << u"here installed"_s << u"0"_s << here << u""_s << u""_s;
        QTest::addRow("no method to open it") << u"here"_s << u"3"_s << here << u"readme here"_s << u""_s;
        QTest::addRow("the viewer failed") << u"installed"_s << u"4"_s << installed << u"readme installed"_s << u""_s;
        QTest::addRow("no viewer on the PATH") << u"here"_s << u""_s << u""_s << u"readme here"_s << u""_s;
        QTest::addRow("no readme.txt") << u""_s << u"0"_s << u""_s << u""_s
                                       << u"readme.txt was not found in %1 or %1/share/quvex-panel."_s;
    }

    // The viewer is a real program found on the PATH the hooks pass on. Help returns while it
    // runs, and what it says at its end decides whether the panel shows the text itself.
    void help_shows_the_readme()
    {
        QFETCH(QString, copies);
        QFETCH(QString, xdg_open);
        Rig rig(false);
        const auto restore = qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
        QVERIFY(QDir::setCurrent(rig.folder.path()));
        QVERIFY(QDir().mkpath(u"path"_s) && QDir().mkpath(u"share/quvex-panel"_s));
        const auto write = [](const QString &name, const QByteArray &bytes) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        QVERIFY(!copies.contains(u"here"_s) || write(u"readme.txt"_s, "readme here"));
        QVERIFY(!copies.contains(u"installed"_s) || write(u"share/quvex-panel/readme.txt"_s, "readme installed"));
        if (!xdg_open.isEmpty()) {
            QVERIFY(
                write(u"path/xdg-open"_s, "#!/bin/sh\nprintf %s \"$1\" >opened\nexit " + xdg_open.toLatin1() + '\n'));
            QVERIFY(QFile::setPermissions(u"path/xdg-open"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }

        rig.get<QAction>(u"quick_ref"_s).trigger();
        QCOMPARE(rig.window.findChildren<QProcess *>().size(), copies.isEmpty() || xdg_open.isEmpty() ? 0 : 1);
        QTRY_VERIFY(rig.window.findChildren<QProcess *>().isEmpty());

        QFETCH(QString, opened);
        QFile given(u"opened"_s);
        QCOMPARE(given.open(QIODevice::ReadOnly) ? QString::fromUtf8(given.readAll()) : QString(),
                 opened.isEmpty() ? QString() : rig.folder.filePath(opened));
        QFETCH(QString, text);
        const auto *window = rig.window.findChild<QPlainTextEdit *>(u"readme_text"_s);
        QCOMPARE(window ? window->toPlainText() : QString(), text);
        if (window) {
            QVERIFY(window->isWindow() && window->isVisible() && window->isReadOnly());
            // By its letters' widths: fontconfig tells some fixed-pitch fonts (Noto Sans Mono) as proportional.
            const QFontMetrics pitch(window->font());
            QCOMPARE(pitch.horizontalAdvance(u'i'), pitch.horizontalAdvance(u'W'));
            QVERIFY(window->minimumSize() != window->maximumSize()); // the operator can resize it
        }
        QFETCH(QString, message);
        QCOMPARE(rig.shown(), message.replace(u"%1"_s, rig.folder.path()));
    }

    void message_box_and_compare_dialog_read_as_meant()
    {
        const auto box = app::make_message_box(nullptr, u"Lost.\rCheck"_s, u"Error"_s, link::MessageIcon::Exclamation);
        QCOMPARE(box->text(), u"Lost.\nCheck"_s);
        QVERIFY(box->windowTitle() == u"Error"_s && box->icon() == QMessageBox::Warning);
        QVERIFY(box->standardButtons() == QMessageBox::Ok && box->isModal());
        const auto plain = app::make_message_box(nullptr, u"COM port closed."_s, {}, link::MessageIcon::None);
        QCOMPARE(plain->windowTitle(), u"QUVEX control panel"_s);

        app::CompareDialog dialog(nullptr, {{u"Zoom"_s, 1, 0}, {u"Sense"_s, 2.5, 16}});
        QCOMPARE(dialog.list().topLevelItem(1)->text(1), u"2.5"_s);
        dialog.list().topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(dialog.checked(), (QList<settings::Difference>{{u"Sense"_s, 2.5, 16}}));
        QCOMPARE(dialog.findChild<QPushButton *>(u"send_checked"_s)->text(), u"Send checked"_s);

        app::BackupsDialog backups(nullptr, {{{u"/b.cfg"_s, u"2026-12-07T16:38:12Z"_s}, 2}, {{u"/a.cfg"_s, {}}, -1}});
        QCOMPARE(backups.list().topLevelItem(0)->text(1) + backups.list().topLevelItem(1)->text(1), u"2first"_s);
        QCOMPARE(backups.chosen(), u"/b.cfg"_s);
        QCOMPARE(backups.findChild<QPushButton *>(u"compare_with_unit"_s)->text(), u"Compare with unit"_s);
    }

    // Backed up, again unchanged, and after a change at the unit: two versions, newest first, the
    // oldest compared with the unit sends only what is checked.
    void backups_of_the_connected_unit()
    {
        Rig rig;
        backup::UnitBackup backups(rig.catalogue, rig.link, rig.bracket, rig.window.operator_side(), rig.panel,
                                   rig.folder.filePath(u"store"_s));
        rig.window.attach_backups(backups);
        auto &now = rig.get<QAction>(u"back_up_now"_s);
        now.trigger();
        now.trigger();
        rig.unit.set_value(u"FlickerRed."_s, 2);
        now.trigger();
        const QString kept = u"The unit's settings are kept as a new version in $/store/dev_ttyS0@QVM."_s;
        QCOMPARE(rig.shown().replace(rig.folder.path(), u"$"_s),
                 kept
                     + u"\nThe unit's settings are those of its newest version in $/store/dev_ttyS0@QVM; none was "
                       "added.\n"_s
                     + kept);
        rig.messages.clear();
        rig.checked = QStringList{u"Flicker Red."_s};
        rig.get<QAction>(u"backups"_s).trigger();
        QCOMPARE(rig.listed.size(), 2);
        QCOMPARE((QList<int>{rig.listed.at(0).changed, rig.listed.at(1).changed}), (QList<int>{1, -1}));
        QCOMPARE(rig.offered, (QList<settings::Difference>{{u"Flicker Red."_s, 3, 2}}));
        QCOMPARE(rig.written(), u"FlickerRed.=3"_s);
        QVERIFY(rig.shown().isEmpty() && rig.unlocked());
    }

    // Network port... asks host and TCP port in its own dialog, typed in, and makes the number in
    // the box reach that server, asking first when the number names something else; never while a
    // port is open.
    void network_port_links_the_number_in_the_box()
    {
        Rig rig(false);
        auto &network_port = rig.get<QAction>(u"network_port"_s);
        auto &port_box = rig.get<QLineEdit>(u"commport"_s);
        port_box.setText(u"7"_s);
        QCOMPARE(ports::link_port(7, u"tcp://rack3:4001"_s), QString());
        const auto typed = [](const std::function<void(QWidget * host)> &keys) {
            QTimer::singleShot(0, [keys] {
                QVERIFY(QTest::qWaitFor([] {
                    const QWidget *dialog = QApplication::activeModalWidget();
                    return dialog && dialog->isActiveWindow() && dialog->isAncestorOf(QApplication::focusWidget());
                }));
                keys(QApplication::focusWidget());
            });
        };
        typed([](QWidget *host) { QTest::keyClick(host, Qt::Key_Escape); });
        network_port.trigger();
        typed([](QWidget *host) {
            QTest::keyClick(host, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(host, Qt::Key_Backspace);
            QTest::keyClick(host, Qt::Key_Return); // no host: OK is off
            QTest::keyClicks(host, u"fd00::7"_s);
            QTest::keyClick(host, Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), u"4002"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        network_port.trigger();
        QCOMPARE(rig.asked, QStringList{u"COM 7 is tcp://rack3:4001 now. Make it tcp://[fd00::7]:4002 instead?"_s});
        QCOMPARE(port_box.toolTip(), u"COM 7 is tcp://[fd00::7]:4002"_s);

        rig.get(u"quvex_2"_s).click();
        QVERIFY(!network_port.isEnabled());
        rig.get(u"quvex_0"_s).click();
        QVERIFY(network_port.isEnabled());
    }

    void network_port_dialog_takes_a_host_as_written_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("target"); // with 5009 in the TCP port box; empty: OK is off
        QTest::addRow("IPv6 in brackets") << u"[::1]"_s << u"tcp://[::1]:5009"_s;
        QTest::addRow("an address pasted") << u" tcp://rack3:4001"_s << u"tcp://rack3:4001"_s;
        QTest::addRow("an IPv6 address pasted") << u"tcp://[::1]:4001"_s << u"tcp://[::1]:4001"_s;
        QTest::addRow("tcp:// alone") << u"tcp://"_s << QString();
    }

    void network_port_dialog_takes_a_host_as_written()
    {
        QFETCH(QString, host);
        QFETCH(QString, target);
        app::NetworkPortDialog dialog(nullptr, 7, {});
        dialog.findChild<QSpinBox *>(u"network_tcp_port"_s)->setValue(5009);
        dialog.findChild<QLineEdit *>(u"network_host"_s)->setText(host);
        QCOMPARE(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), !target.isEmpty());
        if (!target.isEmpty())
            QCOMPARE(dialog.target(), target);
    }

    // Saved to a file chosen, an open cancelled, a compare with a file that is not there; then the
    // File menu, opened with the mouse, offers the file that exists and loads it when clicked.
    void file_items_work_on_the_file_chosen()
    {
        Rig rig;
        const QString saved = rig.folder.filePath(u"a.cfg"_s), gone = rig.folder.filePath(u"shows/b.cfg"_s);
        rig.chosen = QStringList{saved, QString(), gone};
        for (const QString &action : u"save_file open_file compare_file"_s.split(u' '))
            rig.get<QAction>(action).trigger();
        QVERIFY(test::file_bytes(saved).startsWith("\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n"));
        QCOMPARE(rig.shown(), u"Could not open file "_s + QDir::toNativeSeparators(gone));
        QCOMPARE(test::file_bytes(rig.folder.filePath(u"config/quvex-panel.conf"_s)),
                 "[General]\nrecent_files=" + gone.toUtf8() + ", " + saved.toUtf8() + '\n');

        rig.get<QAction>(u"open_file"_s).trigger(); // cancelled, in the folder of the file used last

        QMenuBar &bar = *rig.window.menuBar();
        auto &menu = rig.get<QMenu>(u"file"_s);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(menu.menuAction()).center());
        QTRY_VERIFY(menu.isVisible());
        auto &first = rig.get<QAction>(u"recent_file_1"_s);
        QCOMPARE(first.text(), QDir::toNativeSeparators(saved));
        QVERIFY(!rig.get<QAction>(u"recent_file_2"_s).isVisible());
        QStringList captions;
        for (const QAction *action : menu.actions())
            captions.append(action->isSeparator() ? u"-"_s : action->isVisible() ? action->text() : QString());
        captions.removeAll(QString());
        QCOMPARE(captions.join(u'|').remove(rig.folder.path()),
                 u"Open from /missing/quvex.cfg|Compare with /missing/quvex.cfg|Save to /missing/quvex.cfg|-|"
                 "Open file...|Save to file...|Compare with file...|-|/a.cfg|-|Exit"_s);
        rig.unit.set_value(u"FlickerRed."_s, 9);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(&first).center());
        QVERIFY(rig.written().contains(u"FlickerRed.=3"_s));
        rig.get<QAction>(u"open_file"_s).trigger();
        QCOMPARE(rig.dialogs.join(u'|').remove(rig.folder.path()),
                 u"Save to file in /missing|Open file in |Compare with file in |Open file in /shows|Open file in "_s);
    }

    // Qt's own dialog as the operator meets it: a name typed and Return, then Escape.
    void real_file_dialog_takes_a_typed_name_or_cancel()
    {
        Rig rig;
        rig.real_dialogs = true;
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"missing"_s)));
        const auto answer = [](const QString &typed) {
            QTimer::singleShot(0, [typed] {
                QVERIFY(QTest::qWaitFor([] {
                    return qobject_cast<QFileDialog *>(QApplication::activeModalWidget())
                           && QApplication::focusWidget();
                }));
                QWidget *box = QApplication::focusWidget();
                QTest::keyClicks(box, typed);
                QTest::keyClick(box, typed.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            });
        };
        answer(u"show"_s);
        rig.get<QAction>(u"save_file"_s).trigger();
        QVERIFY(test::file_bytes(rig.folder.filePath(u"missing/show.cfg"_s)).endsWith("\"Video Std         \",0\r\n"));
        rig.unit.clear_sent();
        answer(QString());
        rig.get<QAction>(u"compare_file"_s).trigger();
        QCOMPARE(rig.unit.sent_lines(), QStringList());
        QCOMPARE(rig.shown(), QString());

        const auto restore = qScopeGuard([] { qunsetenv("XDG_CONFIG_HOME"); });
        qputenv("XDG_CONFIG_HOME", rig.folder.path().toLocal8Bit());
        QCOMPARE(app::production_hooks().config_file, rig.folder.filePath(u"quvex/quvex-panel.conf"_s));
    }

    // Cancelled first, then sent with two of the three checked.
    void compare_sends_only_the_checked_items()
    {
        Rig rig;
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"missing"_s)));
        rig.get<QAction>(u"filesave"_s).trigger();
        rig.unit.set_value(u"FlickerRed."_s, 2); // changed at the unit since it was saved
        rig.unit.set_value(u"Zoom"_s, 1);
        rig.unit.set_picture_value(1, 1, u"OutH-Centre:"_s, 500);
        rig.get<QAction>(u"read_unit"_s).trigger();
        auto &compare = rig.get<QAction>(u"filecompare"_s);
        QCOMPARE(compare.text(), u"Compare with "_s + QDir::toNativeSeparators(rig.settings.path()));
        const auto &list = rig.get<QListWidget>(u"menu_list"_s);
        compare.trigger();
        QCOMPARE(rig.offered, (QList<settings::Difference>{
                                  {u"Flicker Red."_s, 3, 2}, {u"PO\\Out H-Centre:"_s, 508, 500}, {u"Zoom"_s, 0, 1}}));
        QCOMPARE(rig.written(), QString());
        QVERIFY(list.findItems(u"PO\\Out H-Centre:  508"_s, Qt::MatchExactly).isEmpty());

        rig.checked = QStringList{u"Flicker Red."_s, u"PO\\Out H-Centre:"_s};
        compare.trigger();
        QCOMPARE(rig.written(), u"FlickerRed.=3 VideoStd=1 Overscan=1 OutH-Centre:=508 VideoStd=0 Overscan=0"_s);
        QCOMPARE(list.findItems(u"PO\\Out H-Centre:  508"_s, Qt::MatchExactly).size(), 1);
        QVERIFY(rig.shown().isEmpty() && rig.unlocked());
    }

    // Opened from the Port menu beside the panel, the log stays usable while the panel works and
    // takes its lines in batches. A read that brings bytes that are not text puts the hint on
    // the status line, without a message, until the next operation.
    void wire_log_and_the_not_text_hint()
    {
        Rig rig;
        QCOMPARE(rig.get<QMenu>(u"port"_s).actions().constLast()->text(), u"Wire log"_s);
        rig.get<QAction>(u"wire_log"_s).trigger();
        auto &log = rig.get<app::WireLogWindow>(u"wire_log_window"_s);
        QVERIFY(log.isVisible() && log.frameGeometry().left() > rig.window.frameGeometry().right());
        bool usable = true;
        rig.while_waiting = [&] { usable = usable && log.isVisible() && log.isEnabled(); };
        rig.unit.script_next_answer({QByteArray("\x80\0\0\x80", 4)});
        rig.click(u"Flicker Red."_s);
        auto &hint = rig.get<QLabel>(u"wire_hint"_s);
        QCOMPARE(hint.text(), test::kNotText);
        QTRY_VERIFY(hint.isVisible() && hint.height() >= hint.heightForWidth(hint.width()));
        QCOMPARE(rig.shown(), QString());
        QVERIFY(usable);

        const auto &view = rig.get<QPlainTextEdit>(u"wire_log_view"_s);
        QTRY_VERIFY(view.toPlainText().endsWith(test::kNotText));
        rig.click(u"Zoom "_s);
        QCOMPARE(hint.text(), QString());

        QTest::mouseClick(&rig.get(u"wire_log_copy"_s), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), log.text());
        QVERIFY(log.text().endsWith(u" ms  answer  0<CR><LF>\n"_s));
        QTest::mouseClick(&rig.get(u"wire_log_save"_s), Qt::LeftButton);
        auto *dialog = log.findChild<QFileDialog *>(u"wire_log_save_dialog"_s);
        dialog->selectFile(rig.folder.filePath(u"wire.txt"_s));
        QTest::keyClick(dialog, Qt::Key_Return);
        QFile saved(rig.folder.filePath(u"wire.txt"_s));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), log.text().toUtf8());

        for (int line = 0; line <= 10000; ++line)
            log.add_line(QString::number(line));
        QVERIFY(log.text().startsWith(u"1\n"_s) && log.text().endsWith(u"\n10000\n"_s));
        QTRY_COMPARE(view.blockCount(), 10000);
        QCOMPARE(view.document()->firstBlock().text(), u"1"_s);
    }

    // Read afresh at each opening. A port with a number puts it in the box; one without is linked
    // as the box's number, by its by-id name, after asking when the number names another device.
    void port_entries_number_or_link_a_port()
    {
        Rig rig(false);
        const QString adapter = rig.folder.filePath(u"ttyUSB7"_s), pty = rig.folder.filePath(u"pty"_s);
        const QString by_id = rig.folder.filePath(u"by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"_s);
        QVERIFY(QFile(adapter).open(QIODevice::WriteOnly) && QFile(pty).open(QIODevice::WriteOnly));
        QVERIFY(QDir().mkpath(rig.folder.filePath(u"by-id"_s)) && QFile::link(adapter, by_id));
        QCOMPARE(ports::link_port(2, pty), QString());
        QCOMPARE(rig.port_texts(), QStringList{u"COM 2  "_s + pty});
        rig.system = {{adapter, u"FT232R USB UART"_s, u"FTDI"_s, u"A50285BI"_s}};
        QCOMPARE(rig.port_texts(), QStringList({u"COM 2  "_s + pty, u"Link as COM 1:  "_s + adapter
                                                                        + u"  FTDI FT232R USB UART A50285BI"_s}));

        rig.choose_port(0);
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"2"_s);
        rig.answer = false;
        rig.choose_port(1);
        QCOMPARE(ports::port_device(2), pty);
        rig.answer = true;
        rig.choose_port(1);
        QCOMPARE(ports::port_device(2), by_id);
        QCOMPARE(rig.asked, QStringList(2, u"COM 2 is %1 now. Make it %2 instead?"_s.arg(pty, by_id)));
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).toolTip(), u"COM 2 is "_s + by_id);

        rig.get(u"quvex_2"_s).click();
        QCOMPARE(rig.port_texts(),
                 QStringList{u"COM 2  "_s + adapter + u"  FTDI FT232R USB UART A50285BI (disabled)"_s});
        QVERIFY(QFile::remove(ports::port_link_path(2)));
    }

    void detect_model_data()
    {
        QTest::addColumn<int>("behaviour"); // a FakeUnit::Behaviour
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("asked");
        QTest::addRow("the model chosen") << int(test::FakeUnit::Behaviour::Answer) << QString() << 4;
        QTest::addRow("silent") << int(test::FakeUnit::Behaviour::Silent) << test::kNoResponse << 1;
    }

    // Through the panel's own link, with the window locked; a "?" answer is no wrong model here.
    // Nothing but the probes goes out, and the model stays chosen.
    void detect_model()
    {
        QFETCH(int, behaviour);
        Rig rig;
        rig.unit.behaviour = test::FakeUnit::Behaviour(behaviour);
        int unlocked = 0;
        rig.while_waiting = [&] { unlocked += rig.unlocked(); };
        rig.get<QAction>(u"detect_model"_s).trigger();
        QTEST(rig.shown(), "shown");
        QFETCH(int, asked);
        const QStringList probes{u"Genlock"_s, u"Buttons"_s, u"Keyer"_s, u"Clockwidth:"_s};
        QCOMPARE(rig.unit.sent_lines(), probes.mid(0, asked));
        QVERIFY(rig.get(u"quvex_2"_s).isChecked() && unlocked == 0 && rig.unlocked());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
