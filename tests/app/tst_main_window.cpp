#include "app/compare_dialog.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "catalogue/catalogue.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "settings/settings_file.h"
#include "support/fake_unit.h"
#include "support/messages.h"

#include <QTest>
#include <QtWidgets>

using namespace quvex;
using namespace Qt::StringLiterals;

// The real window and core on a fake unit. The hooks record what would be shown or started, and
// waiting for the unit runs the fake unit's virtual clock, so nothing waits in real time.
struct Rig
{
    Rig()
    {
        catalogue::build_catalogue(catalogue);
        unit.on_tick = [this] { link.Timer1_Timer(); };
        window.attach(link, panel, settings);
        panel.Form_Load();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    template <typename T = QAbstractButton>
    T &get(const QString &name)
    {
        return *window.findChild<T *>(name);
    }              // a wrong name crashes the test
    void connect() // chooses QUVEXview Max, which reads the unit, then forgets what that sent
    {
        get(u"quvex_2"_s).click();
        unit.clear_sent();
    }
    void click_line(const QString &start)
    {
        auto &list = get<QListWidget>(u"menu_list"_s);
        QListWidgetItem *item = list.findItems(start, Qt::MatchStartsWith).value(0);
        list.scrollToItem(item);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
    }
    QString written() const { return unit.sent_lines().filter(u"="_s).join(u' '); }
    // Whether anything of the window took input at that moment: its controls or its menus.
    bool unlocked() const { return window.centralWidget()->isEnabled() || window.menuBar()->isEnabled(); }
    QString shown() const { return messages.join(u'\n'); }

    QTemporaryDir folder; // the settings file lies in a folder of it that does not exist
    QStringList messages, statuses;
    std::function<void()> while_waiting; // runs in each turn of an exchange's wait
    QList<QStringList> started;
    bool start_succeeds = true;
    int quits = 0;
    QStringList offered;                // what the compare dialog would list: "name file unit"
    std::optional<QStringList> checked; // the names left checked in it; nothing: Cancel
    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    test::FakeUnit unit;
    app::MainWindow window{app::WindowHooks{
        .show_message = [this](QWidget *, const QString &text, auto &, auto) { messages.append(text); },
        .process_events =
            [this] {
                statuses.append(window.statusBar()->currentMessage());
                if (while_waiting)
                    while_waiting();
                unit.step();
                QCoreApplication::processEvents(); // what arrives from the operator meanwhile
            },
        .start_detached =
            [this](const QString &program, const QStringList &arguments) {
                started.append(QStringList{program} + arguments);
                return start_succeeds;
            },
        .program_folder = folder.filePath(u"bin"_s),
        .quit = [this] { ++quits; },
        .choose_differences =
            [this](QWidget *, const QList<settings::Difference> &differences) {
                unit.clear_sent(); // what the compare's own read sent
                QList<settings::Difference> kept;
                for (const settings::Difference &difference : differences) {
                    offered.append(u"%1 %2 %3"_s.arg(difference.name).arg(difference.file).arg(difference.unit));
                    if (checked && checked->contains(difference.name))
                        kept.append(difference);
                }
                return checked ? std::optional(kept) : std::nullopt;
            }}};
    link::Link link{unit, window.operator_side()};
    link::ModeBracket bracket{link};
    panel::Panel panel{catalogue, model, link, bracket, window.operator_side(), window.view()};
    settings::SettingsFile settings{catalogue, bracket, window.operator_side(), panel,
                                    folder.filePath(u"missing/quvex.cfg"_s)};
};

// The window on the real core: each control and menu item must reach its operation and what the
// core sets must show; what the operations do is tested in the core's own tests.
class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void starts_disconnected_then_a_model_reads_the_unit();
    void editor_changes_the_value_data();
    void editor_changes_the_value();
    void picture_buttons_data();
    void picture_buttons();
    void menu_items_data();
    void menu_items();
    void closing_closes_the_port_but_exit_does_not();
    void click_that_takes_the_focus_from_the_value_box_still_acts_data();
    void click_that_takes_the_focus_from_the_value_box_still_acts();
    void operations_lock_controls_and_menus_data();
    void operations_lock_controls_and_menus();
    void keyboard_data();
    void keyboard();
    void tab_order_follows_the_window();
    void keys_that_arrive_while_locked_are_dropped();
    void a_drag_chooses_where_it_ends();
    void quick_ref_starts_the_viewer_or_says_why_not();
    void message_box_reads_as_meant();
    void compare_sends_only_the_checked_items_data();
    void compare_sends_only_the_checked_items();
    void compare_dialog_gives_back_the_checked_items();
};

void TestMainWindow::starts_disconnected_then_a_model_reads_the_unit()
{
    Rig rig;
    QCOMPARE(rig.window.windowTitle(), u"QUVEX control panel"_s);
    QCOMPARE(rig.get(u"quvex_0"_s).text(), u"Dis-connected"_s);
    QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"1"_s);
    QVERIFY(rig.get(u"feat_0"_s).isHidden());
    const auto &list = rig.get<QListWidget>(u"menu_list"_s);
    QVERIFY(rig.get(u"quvex_0"_s).isChecked());
    QCOMPARE(list.count(), 0);
    rig.unit.refuse_open = true; // the unit type falls back when the port will not open
    rig.get(u"quvex_3"_s).click();
    QCOMPARE(rig.shown(), u"Could not open COM port - please check COM port number."_s);
    QVERIFY(rig.get(u"quvex_0"_s).isChecked() && list.count() == 0);

    rig.unit.refuse_open = false;
    rig.unit.set_value(u"Overscan"_s, 1);
    rig.connect();
    QCOMPARE(list.count(), rig.panel.supported_item_count(false));
    QCOMPARE(list.item(0)->text(), u"Overscan          1 (On)"_s);
    QVERIFY(rig.statuses.contains(u"Reading 1 of %1: Overscan"_s.arg(list.count())));
    rig.click_line(u"Overscan"_s);
    QCOMPARE(rig.get<QGroupBox>(u"adjustment"_s).title(), u"Overscan"_s);
    QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).text(), u"1"_s);
    QCOMPARE(rig.get(u"feat_1"_s).text(), u"On"_s);
    QVERIFY(rig.get(u"feat_1"_s).isVisible() && rig.get(u"feat_1"_s).isChecked() && rig.get(u"feat_2"_s).isHidden());
}

void TestMainWindow::editor_changes_the_value_data()
{
    QTest::addColumn<QString>("control"); // a button to click, or text to type in the value box
    QTest::addColumn<Qt::FocusReason>("leaving");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("value_text");
    QTest::addRow("plus") << u"inc"_s << Qt::NoFocusReason << u"PanXPos:=8"_s << u"8"_s;
    QTest::addRow("minus") << u"dec"_s << Qt::NoFocusReason << u"PanXPos:=6"_s << u"6"_s;
    QTest::addRow("option") << u"feat_1"_s << Qt::NoFocusReason << u"Overscan=1"_s << u"1"_s;
    QTest::addRow("typed, tabbed away") << u"42"_s << Qt::TabFocusReason << u"PanXPos:=42"_s << u"42"_s;
    QTest::addRow("typed, menu opened") << u"42"_s << Qt::PopupFocusReason << QString() << u"42"_s;
}

void TestMainWindow::editor_changes_the_value()
{
    QFETCH(QString, control);
    QFETCH(Qt::FocusReason, leaving);
    Rig rig;
    rig.unit.set_value(u"PanXPos:"_s, 7);
    rig.connect();
    rig.click_line(control == u"feat_1"_s ? u"Overscan"_s : u"Pan X Pos:"_s);
    auto &value_box = rig.get<QLineEdit>(u"item_value"_s);
    if (leaving == Qt::NoFocusReason) {
        rig.get(control).click();
    } else {
        value_box.selectAll();
        QTest::keyClicks(&value_box, control);
        QFocusEvent focus_out(QEvent::FocusOut, leaving);
        QCoreApplication::sendEvent(&value_box, &focus_out);
    }
    QTEST(rig.written(), "written");
    QTEST(value_box.text(), "value_text");
}

void TestMainWindow::picture_buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("set_first"); // a unit value that is 1 before the click
    QTest::addColumn<QString>("written");
    QTest::addRow("picture up") << u"Command1"_s << QString() << u"OutV-Centre:=255"_s;
    QTest::addRow("picture down") << u"Command5"_s << QString() << u"OutV-Centre:=257"_s;
    QTest::addRow("picture left") << u"Command4"_s << QString() << u"OutH-Centre:=511"_s;
    QTest::addRow("picture right") << u"Command3"_s << QString() << u"OutH-Centre:=513"_s;
    QTest::addRow("wider") << u"Command6"_s << QString() << u"OutH-Width:=641"_s;
    QTest::addRow("narrower") << u"Command7"_s << QString() << u"OutH-Width:=639"_s;
    QTest::addRow("taller") << u"Command8"_s << QString() << u"OutV-Height:=481"_s;
    QTest::addRow("shorter") << u"Command9"_s << QString() << u"OutV-Height:=479"_s;
    QTest::addRow("zoom on") << u"Command2"_s << QString() << u"Zoom=1"_s;
    QTest::addRow("zoom off") << u"Command20"_s << u"Zoom"_s << u"Zoom=0"_s;
    QTest::addRow("pan up") << u"Command13"_s << QString() << u"PanYPos:=1"_s;
    QTest::addRow("pan down") << u"Command10"_s << QString() << u"PanYPos:=-1"_s;
    QTest::addRow("pan left") << u"Command11"_s << QString() << u"PanXPos:=1"_s;
    QTest::addRow("pan right") << u"Command12"_s << QString() << u"PanXPos:=-1"_s;
    QTest::addRow("underscan") << u"Command21"_s << u"Overscan"_s << u"Overscan=0"_s;
    QTest::addRow("overscan") << u"Command22"_s << QString() << u"Overscan=1"_s;
    QTest::addRow("auto set") << u"Command24"_s << QString() << u"AutoSet=1"_s;
}

void TestMainWindow::picture_buttons()
{
    QFETCH(QString, button);
    QFETCH(QString, set_first);
    Rig rig;
    rig.unit.set_value(set_first, 1);
    rig.connect();
    rig.get(button).click();
    QTEST(rig.written(), "written");
}

void TestMainWindow::menu_items_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("first_line");
    QTest::addColumn<QString>("message"); // %1 stands for the settings file
    QTest::addRow("open settings") << u"fileopen"_s << QString() << u"Could not open file %1"_s;
    QTest::addRow("save settings") << u"filesave"_s << QString() << u"Error writing to %1"_s;
    QTest::addRow("store settings") << u"store_settings"_s << u"StoreSettings=1"_s << QString();
    QTest::addRow("VGA store") << u"vga_store"_s << u"VGAStore=1"_s << QString();
    QTest::addRow("read all") << u"read_unit"_s << u"Overscan"_s << QString();
    QTest::addRow("write all") << u"write_unit"_s << u"Overscan=0"_s << QString();
    QTest::addRow("reset") << u"reset_unit"_s << u"Reset=1"_s << u"Click OK when unit has reset."_s;
}

void TestMainWindow::menu_items()
{
    QFETCH(QString, action);
    QFETCH(QString, message);
    Rig rig;
    rig.connect();
    rig.get<QAction>(action).trigger();
    QTEST(rig.unit.sent_lines().value(0), "first_line");
    QCOMPARE(rig.shown(), message.replace(u"%1"_s, QDir::toNativeSeparators(rig.settings.path())));
}

void TestMainWindow::closing_closes_the_port_but_exit_does_not()
{
    Rig closing, exiting;
    closing.connect();
    exiting.connect();
    QVERIFY(closing.window.close());
    exiting.get<QAction>(u"exit"_s).trigger();
    QCOMPARE(closing.shown(), u"COM port closed."_s);
    QCOMPARE(exiting.shown(), QString());
    QVERIFY(!closing.unit.is_open() && exiting.unit.is_open());
    QVERIFY(closing.quits == 1 && exiting.quits == 1);
}

void TestMainWindow::click_that_takes_the_focus_from_the_value_box_still_acts_data()
{
    QTest::addColumn<QString>("target"); // a button, or the list line starting with this text
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("caption"); // the editor's afterwards
    QTest::addRow("plus") << u"inc"_s << u"PanXPos:=77 PanXPos:=78"_s << u"Pan X Pos:"_s;
    QTest::addRow("pan up") << u"Command13"_s << u"PanXPos:=77 PanYPos:=1"_s << u"Pan Y Pos:"_s;
    QTest::addRow("another line") << u"Pan Y Pos:"_s << u"PanXPos:=77"_s << u"Pan Y Pos:"_s;
}

// The release of the click arrives while the typed value is still on its way to the unit,
// as it does when a person clicks.
void TestMainWindow::click_that_takes_the_focus_from_the_value_box_still_acts()
{
    QFETCH(QString, target);
    Rig rig;
    rig.connect();
    rig.click_line(u"Pan X Pos:"_s);
    auto &value_box = rig.get<QLineEdit>(u"item_value"_s);
    value_box.setFocus();
    value_box.selectAll();
    QTest::keyClicks(&value_box, u"77"_s);
    rig.unit.clear_sent();

    auto &list = rig.get<QListWidget>(u"menu_list"_s);
    QListWidgetItem *line = list.findItems(target, Qt::MatchStartsWith).value(0);
    list.scrollToItem(line);
    QWidget *widget = list.viewport();
    QPoint point = list.visualItemRect(line).center();
    if (auto *button = rig.window.findChild<QAbstractButton *>(target)) {
        widget = button;
        point = button->rect().center();
    }
    bool released = false;
    QTimer::singleShot(0, widget, [&] {
        QTest::mouseRelease(widget, Qt::LeftButton, {}, point);
        released = true;
    });
    QTest::mousePress(widget, Qt::LeftButton, {}, point);
    QTRY_VERIFY(released);
    QCoreApplication::processEvents();
    QTEST(rig.written(), "written");
    QTEST(rig.get<QGroupBox>(u"adjustment"_s).title(), "caption");
    QVERIFY(widget->hasFocus() || widget->parentWidget()->hasFocus());
}

void TestMainWindow::operations_lock_controls_and_menus_data()
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
void TestMainWindow::operations_lock_controls_and_menus()
{
    QFETCH(QString, control);
    QFETCH(bool, silent);
    Rig rig;
    rig.connect();
    rig.click_line(u"Flicker Red."_s);
    if (silent)
        rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
    rig.messages.clear();
    int turns = 0, unlocked = 0, closed = 0;
    rig.while_waiting = [&] {
        ++turns;
        unlocked += rig.unlocked();
        closed += rig.window.close();
    };
    if (auto *button = rig.window.findChild<QAbstractButton *>(control))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        rig.get<QAction>(control).trigger();

    QVERIFY(turns > 0);
    QCOMPARE(unlocked, 0);
    QCOMPARE(closed, 0);
    QCOMPARE(rig.shown(), silent ? test::kNoResponse : QString());
    QVERIFY(rig.unlocked() && rig.window.isVisible() && rig.unit.is_open());
}

void TestMainWindow::keyboard_data()
{
    QTest::addColumn<QString>("line");  // picked with the mouse first
    QTest::addColumn<QString>("focus"); // the control the keys go to
    QTest::addColumn<QString>("keys");  // key names, or "=text" typed
    QTest::addColumn<QString>("wire");  // lines sent after the keys
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("caption");
    const QString flicker = u"Flicker Red."_s;
    QTest::addRow("Space on plus") << flicker << u"inc"_s << u"Space"_s << u"FlickerRed.=5 FlickerRed."_s << u"inc"_s
                                   << flicker;
    QTest::addRow("Enter in the value box") << flicker << u"item_value"_s << u"=42 Return"_s
                                            << u"FlickerRed.=42 FlickerRed."_s << u"item_value"_s << flicker;
    QTest::addRow("keypad Enter, twice") << flicker << u"item_value"_s << u"=42 Enter =7 Enter"_s
                                         << u"FlickerRed.=42 FlickerRed. FlickerRed.=7 FlickerRed."_s << u"item_value"_s
                                         << flicker;
    QTest::addRow("Tab through the value box")
        << flicker << u"item_value"_s << u"Tab"_s << QString() << u"dec"_s << flicker;
    QTest::addRow("Down in the list") << u"Overscan"_s << u"menu_list"_s << u"Down"_s << u"ImageFreeze"_s
                                      << u"menu_list"_s << u"Image Freeze"_s;
    QTest::addRow("Down onto a heading") << flicker << u"menu_list"_s << u"Down"_s << u"Genlock"_s << u"menu_list"_s
                                         << u"Genlock"_s;
    QTest::addRow("Up onto a heading") << u"Genlock"_s << u"menu_list"_s << u"Up"_s << u"FlickerRed."_s
                                       << u"menu_list"_s << flicker;
    QTest::addRow("End of the list") << flicker << u"menu_list"_s << u"End"_s << u"VideoStd"_s << u"menu_list"_s
                                     << u"Video Std"_s;
    QTest::addRow("arrow in the unit-type group")
        << flicker << u"quvex_2"_s << u"Down"_s << QString() << u"quvex_3"_s << flicker;
    QTest::addRow("arrow then Space in the unit-type group")
        << flicker << u"quvex_2"_s << u"Down Down Space"_s << u"Overscan"_s << u"quvex_4"_s << flicker;
    QTest::addRow("arrow among option buttons")
        << u"Zoom "_s << u"feat_0"_s << u"Down"_s << QString() << u"feat_1"_s << u"Zoom"_s;
    QTest::addRow("arrow then Space among option buttons")
        << u"Zoom "_s << u"feat_0"_s << u"Down Space"_s << u"Zoom=1 Zoom"_s << u"feat_1"_s << u"Zoom"_s;
}

// Real key events through the event loop, as a keyboard user's arrive.
void TestMainWindow::keyboard()
{
    QFETCH(QString, line);
    QFETCH(QString, focus);
    QFETCH(QString, keys);
    Rig rig;
    rig.connect();
    rig.click_line(line);
    QCOMPARE(rig.unit.sent_lines().size(), 1); // one click reads the line once
    rig.unit.clear_sent();
    QWidget &target = rig.get<QWidget>(focus);
    target.setFocus(Qt::TabFocusReason);
    for (const QString &key : keys.split(u' ')) {
        QWidget *focused = QApplication::focusWidget();
        if (key.startsWith(u'=')) {
            QTest::keyClicks(focused, key.mid(1));
            continue;
        }
        const QMetaEnum names = QMetaEnum::fromType<Qt::Key>();
        const auto code = Qt::Key(names.keyToValue(("Key_" + key).toLatin1().constData()));
        QTest::keyClick(focused, code, key == u"Enter"_s ? Qt::KeypadModifier : Qt::NoModifier);
    }
    if (rig.unit.sent_lines().contains(u"Overscan"_s)) // a unit type chosen reads the whole unit
        QCOMPARE(rig.unit.sent_lines().first(), u"Overscan"_s);
    else
        QTEST(rig.unit.sent_lines().join(u' '), "wire");
    QTEST(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), "focused");
    QTEST(rig.get<QGroupBox>(u"adjustment"_s).title(), "caption");
    if (focus == u"item_value"_s && keys.contains(u"Return"_s))
        QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).selectedText(), u"42"_s);
}

void TestMainWindow::tab_order_follows_the_window()
{
    Rig rig;
    rig.connect();
    rig.click_line(u"Overscan"_s);
    rig.unit.clear_sent();
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
    QCOMPARE(rig.unit.sent_lines(), QStringList());
}

// A held arrow key: the repeats that come while the line is being read do not pile up into
// a run of reads after it.
void TestMainWindow::keys_that_arrive_while_locked_are_dropped()
{
    Rig rig;
    rig.connect();
    rig.click_line(u"Overscan"_s);
    rig.unit.clear_sent();
    auto &list = rig.get<QListWidget>(u"menu_list"_s);
    list.setFocus(Qt::TabFocusReason);
    int repeats = 3;
    rig.while_waiting = [&] {
        if (repeats-- > 0)
            QTest::keyClick(rig.window.windowHandle(), Qt::Key_Down); // through the window system
    };
    QTest::keyClick(rig.window.windowHandle(), Qt::Key_Down);
    QCoreApplication::processEvents();
    QCOMPARE(rig.unit.sent_lines(), QStringList{u"ImageFreeze"_s});
    QCOMPARE(list.currentItem()->text(), u"Image Freeze      0 (Off)"_s);
    QVERIFY(list.hasFocus());
}

void TestMainWindow::a_drag_chooses_where_it_ends()
{
    Rig rig;
    rig.connect();
    auto &list = rig.get<QListWidget>(u"menu_list"_s);
    const QPoint from = list.visualItemRect(list.item(0)).center();
    const QPoint to = list.visualItemRect(list.item(2)).center();
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, list.viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(list.viewport(), &move);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, to);
    QCOMPARE(rig.unit.sent_lines(), QStringList{u"FlickerRed."_s});
    QCOMPARE(rig.get<QGroupBox>(u"adjustment"_s).title(), u"Flicker Red."_s);
}

void TestMainWindow::quick_ref_starts_the_viewer_or_says_why_not()
{
    Rig rig;
    const auto restore = qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
    QVERIFY(QDir::setCurrent(rig.folder.path()));
    auto &quick_ref = rig.get<QAction>(u"quick_ref"_s);
    quick_ref.trigger(); // neither in the working folder nor installed
    QVERIFY(QDir().mkpath(u"share/quvex-panel"_s));
    QVERIFY(QFile(u"share/quvex-panel/readme.txt"_s).open(QIODevice::WriteOnly));
    quick_ref.trigger(); // installed beside the program folder bin/
    QVERIFY(QFile(u"readme.txt"_s).open(QIODevice::WriteOnly));
    quick_ref.trigger(); // the working folder's own comes first
    rig.start_succeeds = false;
    quick_ref.trigger();
    const QString installed = rig.folder.path() + u"/share/quvex-panel/readme.txt"_s;
    const QString here = rig.folder.path() + u"/readme.txt"_s;
    QCOMPARE(rig.started,
             (QList<QStringList>{{u"xdg-open"_s, installed}, {u"xdg-open"_s, here}, {u"xdg-open"_s, here}}));
    QCOMPARE(rig.shown(), u"readme.txt was not found.\nCould not open readme.txt: xdg-open could not be started."_s);
}

void TestMainWindow::message_box_reads_as_meant()
{
    const auto box = app::make_message_box(nullptr, u"Lost.\rCheck"_s, u"Error"_s, link::MessageIcon::Exclamation);
    QCOMPARE(box->text(), u"Lost.\nCheck"_s);
    QVERIFY(box->windowTitle() == u"Error"_s && box->icon() == QMessageBox::Warning);
    QVERIFY(box->standardButtons() == QMessageBox::Ok && box->isModal());
    const auto plain = app::make_message_box(nullptr, u"COM port closed."_s, {}, link::MessageIcon::None);
    QCOMPARE(plain->windowTitle(), u"QUVEX control panel"_s);
}

void TestMainWindow::compare_sends_only_the_checked_items_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("written");
    QTest::addRow("two of three checked")
        << false << u"FlickerRed.=5 VideoStd=1 Overscan=1 OutH-Centre:=500 VideoStd=0 Overscan=0"_s;
    QTest::addRow("cancelled") << true << QString();
}

void TestMainWindow::compare_sends_only_the_checked_items()
{
    QFETCH(bool, cancel);
    Rig rig;
    rig.unit.set_value(u"FlickerRed."_s, 5);
    rig.connect();
    rig.unit.set_value(u"FlickerRed."_s, 2); // changed at the unit since the list read it
    QVERIFY(QDir().mkpath(rig.folder.filePath(u"missing"_s)));
    QFile file(rig.settings.path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n\"Flicker Red.\",5\r\n\"Zoom\",1\r\n"
               "\"PO\\Out H-Centre:\",500\r\n\"Pan X Pos:\",0\r\n");
    file.close();
    if (!cancel)
        rig.checked = QStringList{u"Flicker Red."_s, u"PO\\Out H-Centre:"_s};
    auto &compare = rig.get<QAction>(u"filecompare"_s);
    QCOMPARE(compare.text(), u"Compare with "_s + QDir::toNativeSeparators(rig.settings.path()));
    compare.trigger();

    QCOMPARE(rig.offered, (QStringList{u"Flicker Red. 5 2"_s, u"Zoom 1 0"_s, u"PO\\Out H-Centre: 500 508"_s}));
    QTEST(rig.written(), "written");
    QCOMPARE(rig.get<QListWidget>(u"menu_list"_s).findItems(u"PO\\Out H-Centre:  500"_s, Qt::MatchExactly).size(),
             cancel ? 0 : 1);
    QVERIFY(rig.shown().isEmpty() && rig.unlocked());
}

void TestMainWindow::compare_dialog_gives_back_the_checked_items()
{
    app::CompareDialog dialog(nullptr, {{u"Zoom"_s, 1, 0}, {u"Sense"_s, 2.5, 16}});
    QCOMPARE(dialog.list().topLevelItem(1)->text(1), u"2.5"_s);
    dialog.list().topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(dialog.checked(), (QList<settings::Difference>{{u"Sense"_s, 2.5, 16}}));
    QCOMPARE(dialog.findChild<QPushButton *>(u"send_checked"_s)->text(), u"Send checked"_s);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
