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
    // Connected chooses QUVEXview Max, which reads the unit; what that sent is forgotten.
    explicit Rig(bool connected = true)
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

    QTemporaryDir folder; // the settings file lies in a folder of it that does not exist
    QStringList messages, statuses;
    std::function<void()> while_waiting = [] {}; // runs in each turn of an exchange's wait
    QList<QStringList> started;
    bool start_succeeds = true;
    int quits = 0;
    QList<settings::Difference> offered; // what the compare dialog would list
    std::optional<QStringList> checked;  // the names left checked in it; nothing: Cancel
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
        .start_detached =
            [this](const QString &program, const QStringList &arguments) {
                started.append(QStringList{program} + arguments);
                return start_succeeds;
            },
        .program_folder = folder.filePath(u"bin"_s),
        .quit = [this] { ++quits; },
        .choose_differences =
            [this](QWidget *, QList<settings::Difference> differences) {
                unit.clear_sent(); // what the compare's own read sent
                offered = differences;
                differences.removeIf(
                    [this](auto &difference) { return !checked || !checked->contains(difference.name); });
                return checked ? std::optional(differences) : std::nullopt;
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
    void starts_disconnected_then_a_model_reads_the_unit()
    {
        Rig rig(false);
        QCOMPARE(rig.window.windowTitle(), u"QUVEX control panel"_s);
        QCOMPARE(rig.get(u"quvex_0"_s).text(), u"Dis-connected"_s);
        QCOMPARE(rig.get<QLineEdit>(u"commport"_s).text(), u"1"_s);
        const auto &list = rig.get<QListWidget>(u"menu_list"_s);
        QVERIFY(rig.get(u"quvex_0"_s).isChecked() && list.count() == 0 && rig.get(u"feat_0"_s).isHidden());
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
        QCOMPARE(rig.get<QGroupBox>(u"adjustment"_s).title(), u"Overscan"_s);
        QCOMPARE(rig.get<QLineEdit>(u"item_value"_s).text(), u"1"_s);
        QCOMPARE(rig.get(u"feat_1"_s).text(), u"On"_s);
        QVERIFY(rig.get(u"feat_1"_s).isVisible() && rig.get(u"feat_1"_s).isChecked()
                && rig.get(u"feat_2"_s).isHidden());
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

    void stop_data()
    {
        QTest::addColumn<QString>("when"); // "idle", a line whose exchange the stop comes in, or "box"
        QTest::addColumn<bool>("silent");  // the unit, from the stop on
        QTest::addColumn<QString>("wire"); // sent after the stop
        QTest::addRow("idle") << u"idle"_s << false << QString();
        // The unit is in PAL overscan.
        QTest::addRow("in the picture groups of a read all") << u"OutH-Width:"_s << false << u"VideoStd=1 Overscan=1"_s;
        // Its warning goes to standard error: no box waits for a person.
        QTest::addRow("there, the unit silent") << u"OutH-Width:"_s << true << u"VideoStd=1"_s;
        QTest::addRow("a box open") << u"box"_s << false << QString();
    }

    // A stop signal or the end of the desktop session: the operation stops at its next exchange, the
    // unit gets its own mode back, boxes close, the port closes without a word, and the panel ends.
    void stop()
    {
        QFETCH(QString, when);
        QFETCH(bool, silent);
        Rig rig;
        rig.unit.set_value(u"VideoStd"_s, 1);
        rig.unit.set_value(u"Overscan"_s, 1);
        QMessageBox box(&rig.window);
        QStringList sent;
        rig.while_waiting = [&] {
            if (sent.isEmpty() && rig.unit.sent_lines().endsWith(when)) {
                sent = rig.unit.sent_lines();
                rig.window.stop();
                if (silent)
                    rig.unit.behaviour = test::FakeUnit::Behaviour::Silent;
            }
        };
        if (when == u"box"_s) {
            box.open();
            rig.window.stop();
            QVERIFY(!box.isVisible());
        } else if (when == u"idle"_s) {
            rig.window.stop();
        } else {
            rig.get<QAction>(u"read_unit"_s).trigger();
            QCOMPARE(rig.quits, 0); // not before the read has let the window go
        }
        QCoreApplication::processEvents();
        QTEST(rig.unit.sent_lines().mid(sent.size()).join(u' '), "wire");
        QVERIFY(rig.quits == 1 && !rig.unit.is_open() && rig.shown().isEmpty());
        QCOMPARE(rig.unit.video_std(), silent ? 0 : 1);
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

    void quick_ref_starts_the_viewer_or_says_why_not()
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
        QCOMPARE(rig.shown(),
                 u"readme.txt was not found.\nCould not open readme.txt: xdg-open could not be started."_s);
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
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
