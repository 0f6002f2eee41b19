#include "app/control_form.h"
#include "link/port_device.h"
#include "window_rig.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using quvex::test::WindowRig;

namespace {

constexpr int kQuvexviewMax = 2;

} // namespace

// The window on the real core: each control and menu item must reach its operation, and what
// the core sets must show without coming back to it.
class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void starts_disconnected();
    void choosing_a_model_reads_the_unit();
    void unit_type_falls_back_when_the_port_will_not_open();
    void port_box_sets_the_port_data();
    void port_box_sets_the_port();
    void clicking_a_line_loads_the_editor_data();
    void clicking_a_line_loads_the_editor();
    void editor_changes_the_value_data();
    void editor_changes_the_value();
    void picture_buttons_data();
    void picture_buttons();
    void menu_items_data();
    void menu_items();
    void closing_versus_exit_data();
    void closing_versus_exit();
    void quick_ref_data();
    void quick_ref();
};

void TestMainWindow::starts_disconnected()
{
    WindowRig rig;
    QCOMPARE(rig.window.objectName(), QStringLiteral("QUVEXSP"));
    QCOMPARE(rig.window.windowTitle(), QStringLiteral("QUVEX control panel"));
    QCOMPARE(rig.control<QListWidget>(QStringLiteral("menu_list")).count(), 0);
    for (int i = 0; i < quvex::catalogue::kUnitModelCount; ++i) {
        const auto &button = rig.control<QRadioButton>(QStringLiteral("quvex_%1").arg(i));
        QCOMPARE(button.text(), quvex::catalogue::unit_models()[static_cast<std::size_t>(i)].display_name);
        QCOMPARE(button.isChecked(), i == 0);
    }
    const auto &port_box = rig.control<QLineEdit>(QStringLiteral("commport"));
    QCOMPARE(port_box.text(), QStringLiteral("1"));
    QVERIFY(port_box.isEnabled());
    for (int k = 0; k < quvex::app::ControlForm::kOptionButtons; ++k) {
        QVERIFY(rig.control<QRadioButton>(QStringLiteral("feat_%1").arg(k)).isHidden());
        QCOMPARE(rig.control<QRadioButton>(QStringLiteral("feat_%1").arg(k)).text(), QStringLiteral("Option1"));
    }
    QCOMPARE(rig.control<QLineEdit>(QStringLiteral("item_value")).text(), QStringLiteral(" "));
    QCOMPARE(rig.control<QAction>(QStringLiteral("fileopen")).text(), rig.settings.open_caption());
    QCOMPARE(rig.control<QAction>(QStringLiteral("filesave")).text(), rig.settings.save_caption());
    const auto &timer = rig.control<QTimer>(QStringLiteral("Timer1"));
    QCOMPARE(timer.interval(), 100);
    QVERIFY(timer.isActive());
    QVERIFY(rig.messages.isEmpty());
    QVERIFY(rig.unit.sent().isEmpty());
}

void TestMainWindow::choosing_a_model_reads_the_unit()
{
    WindowRig rig;
    rig.unit.set_value(QStringLiteral("PanXPos:"), 7);
    rig.choose_model(kQuvexviewMax);

    QVERIFY(rig.messages.isEmpty());
    const auto &list = rig.control<QListWidget>(QStringLiteral("menu_list"));
    const int total = rig.panel.supported_item_count(false);
    QCOMPARE(list.count(), total);
    QCOMPARE(list.item(0)->text(), QStringLiteral("Overscan          0 (Off)"));
    QCOMPARE(list.findItems(QStringLiteral("Pan X Pos:        7"), Qt::MatchExactly).size(), 1);
    QVERIFY(rig.control<QRadioButton>(QStringLiteral("quvex_2")).isChecked());
    QVERIFY(!rig.control<QLineEdit>(QStringLiteral("commport")).isEnabled());
    // The status line follows the run while the unit is awaited and is empty after it.
    QVERIFY(rig.statuses_seen.contains(QStringLiteral("Reading 1 of %1: Overscan").arg(total)));
    QVERIFY(rig.window.statusBar()->currentMessage().isEmpty());
}

void TestMainWindow::unit_type_falls_back_when_the_port_will_not_open()
{
    WindowRig rig;
    rig.unit.refuse_open = true;
    rig.choose_model(3);

    QCOMPARE(rig.messages, QStringList{QStringLiteral("Could not open COM port - please check COM port number.")});
    QVERIFY(rig.control<QRadioButton>(QStringLiteral("quvex_0")).isChecked());
    QVERIFY(!rig.control<QRadioButton>(QStringLiteral("quvex_3")).isChecked());
    QCOMPARE(rig.control<QListWidget>(QStringLiteral("menu_list")).count(), 0);
    QVERIFY(rig.unit.sent().isEmpty());
}

void TestMainWindow::port_box_sets_the_port_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("port");
    QTest::addRow("a number") << QStringLiteral("3") << 3;
    QTest::addRow("two digits") << QStringLiteral("12") << 12;
    QTest::addRow("no number keeps the port") << QStringLiteral("x") << 1;
    QTest::addRow("zero keeps the port") << QStringLiteral("0") << 1;
}

void TestMainWindow::port_box_sets_the_port()
{
    QFETCH(QString, typed);
    QFETCH(int, port);
    WindowRig rig;
    auto &port_box = rig.control<QLineEdit>(QStringLiteral("commport"));
    port_box.selectAll();
    QTest::keyClicks(&port_box, typed);

    QCOMPARE(rig.unit.port_number(), port);
    QVERIFY2(port_box.toolTip().contains(quvex::link::port_device(port)), qPrintable(port_box.toolTip()));
}

void TestMainWindow::clicking_a_line_loads_the_editor_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value_text");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("checked");
    QTest::addRow("number") << QStringLiteral("Pan X Pos:") << QStringLiteral("7") << QStringList{} << -1;
    QTest::addRow("two options") << QStringLiteral("Overscan") << QStringLiteral("1")
                                 << QStringList{QStringLiteral("Off"), QStringLiteral("On")} << 1;
    QTest::addRow("other options") << QStringLiteral("Output Sig") << QStringLiteral("0")
                                   << QStringList{QStringLiteral("YUV"), QStringLiteral("RGB")} << 0;
}

void TestMainWindow::clicking_a_line_loads_the_editor()
{
    QFETCH(QString, line);
    QFETCH(QString, value_text);
    QFETCH(QStringList, options);
    QFETCH(int, checked);
    WindowRig rig;
    rig.unit.set_value(QStringLiteral("PanXPos:"), 7);
    rig.unit.set_value(QStringLiteral("Overscan"), 1);
    rig.choose_model(kQuvexviewMax);
    QVERIFY(rig.click_line(line));

    QCOMPARE(rig.control<QGroupBox>(QStringLiteral("adjustment")).title(), line);
    QCOMPARE(rig.control<QLineEdit>(QStringLiteral("item_value")).text(), value_text);
    for (int k = 0; k < quvex::app::ControlForm::kOptionButtons; ++k) {
        const auto &button = rig.control<QRadioButton>(QStringLiteral("feat_%1").arg(k));
        QCOMPARE(button.isVisible(), k < options.size());
        if (k < options.size())
            QCOMPARE(button.text(), options.at(k));
        if (k == checked)
            QVERIFY(button.isChecked());
    }
    QVERIFY(rig.messages.isEmpty());
}

void TestMainWindow::editor_changes_the_value_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Qt::FocusReason>("leaving");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("value_text");

    const QString pan = QStringLiteral("Pan X Pos:");
    const QString box = QStringLiteral("item_value");
    QTest::addRow("plus") << pan << QStringLiteral("inc") << QString() << Qt::OtherFocusReason
                          << QStringList{QStringLiteral("PanXPos:=8")} << QStringLiteral("8");
    QTest::addRow("minus") << pan << QStringLiteral("dec") << QString() << Qt::OtherFocusReason
                           << QStringList{QStringLiteral("PanXPos:=6")} << QStringLiteral("6");
    QTest::addRow("option button") << QStringLiteral("Overscan") << QStringLiteral("feat_1") << QString()
                                   << Qt::OtherFocusReason << QStringList{QStringLiteral("Overscan=1")}
                                   << QStringLiteral("1");
    QTest::addRow("typed, tabbed away") << pan << box << QStringLiteral("42") << Qt::TabFocusReason
                                        << QStringList{QStringLiteral("PanXPos:=42")} << QStringLiteral("42");
    QTest::addRow("typed, clicked elsewhere") << pan << box << QStringLiteral("-3") << Qt::MouseFocusReason
                                              << QStringList{QStringLiteral("PanXPos:=-3")} << QStringLiteral("-3");
    QTest::addRow("typed, not a number") << pan << box << QStringLiteral("abc") << Qt::TabFocusReason
                                         << QStringList{} << QStringLiteral("7");
    // Opening a menu or another window does not leave the box: nothing is sent yet.
    QTest::addRow("typed, menu opened") << pan << box << QStringLiteral("42") << Qt::PopupFocusReason
                                        << QStringList{} << QStringLiteral("42");
    QTest::addRow("typed, other window") << pan << box << QStringLiteral("42") << Qt::ActiveWindowFocusReason
                                         << QStringList{} << QStringLiteral("42");
}

void TestMainWindow::editor_changes_the_value()
{
    QFETCH(QString, line);
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(Qt::FocusReason, leaving);
    QFETCH(QStringList, written);
    QFETCH(QString, value_text);
    WindowRig rig;
    rig.unit.set_value(QStringLiteral("PanXPos:"), 7);
    rig.choose_model(kQuvexviewMax);
    QVERIFY(rig.click_line(line));
    rig.unit.clear_sent();

    auto &value_box = rig.control<QLineEdit>(QStringLiteral("item_value"));
    if (control == QLatin1String("item_value")) {
        value_box.selectAll();
        QTest::keyClicks(&value_box, typed);
        QFocusEvent focus_out(QEvent::FocusOut, leaving);
        QCoreApplication::sendEvent(&value_box, &focus_out);
    } else {
        rig.control<QAbstractButton>(control).click();
    }

    QCOMPARE(rig.written_lines(), written);
    QCOMPARE(value_box.text(), value_text);
    QVERIFY(rig.messages.isEmpty());
}

void TestMainWindow::picture_buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("preset_name");
    QTest::addColumn<double>("preset_value");
    QTest::addColumn<QString>("written");

    const QString none;
    QTest::addRow("picture up") << QStringLiteral("Command1") << none << 0.0 << QStringLiteral("OutV-Centre:=-1");
    QTest::addRow("picture down") << QStringLiteral("Command5") << none << 0.0 << QStringLiteral("OutV-Centre:=1");
    QTest::addRow("picture left") << QStringLiteral("Command4") << none << 0.0 << QStringLiteral("OutH-Centre:=-1");
    QTest::addRow("picture right") << QStringLiteral("Command3") << none << 0.0 << QStringLiteral("OutH-Centre:=1");
    QTest::addRow("wider") << QStringLiteral("Command6") << none << 0.0 << QStringLiteral("OutH-Width:=1");
    QTest::addRow("narrower") << QStringLiteral("Command7") << none << 0.0 << QStringLiteral("OutH-Width:=-1");
    QTest::addRow("taller") << QStringLiteral("Command8") << none << 0.0 << QStringLiteral("OutV-Height:=1");
    QTest::addRow("shorter") << QStringLiteral("Command9") << none << 0.0 << QStringLiteral("OutV-Height:=-1");
    QTest::addRow("zoom on") << QStringLiteral("Command2") << none << 0.0 << QStringLiteral("Zoom=1");
    QTest::addRow("zoom off") << QStringLiteral("Command20") << QStringLiteral("Zoom") << 1.0 << QStringLiteral("Zoom=0");
    QTest::addRow("pan up") << QStringLiteral("Command13") << none << 0.0 << QStringLiteral("PanYPos:=1");
    QTest::addRow("pan down") << QStringLiteral("Command10") << none << 0.0 << QStringLiteral("PanYPos:=-1");
    QTest::addRow("pan left") << QStringLiteral("Command11") << none << 0.0 << QStringLiteral("PanXPos:=1");
    QTest::addRow("pan right") << QStringLiteral("Command12") << none << 0.0 << QStringLiteral("PanXPos:=-1");
    QTest::addRow("underscan") << QStringLiteral("Command21") << QStringLiteral("Overscan") << 1.0
                               << QStringLiteral("Overscan=0");
    QTest::addRow("overscan") << QStringLiteral("Command22") << none << 0.0 << QStringLiteral("Overscan=1");
    QTest::addRow("auto set") << QStringLiteral("Command24") << none << 0.0 << QStringLiteral("AutoSet=1");
}

void TestMainWindow::picture_buttons()
{
    QFETCH(QString, button);
    QFETCH(QString, preset_name);
    QFETCH(double, preset_value);
    QFETCH(QString, written);
    WindowRig rig;
    if (!preset_name.isEmpty())
        rig.unit.set_value(preset_name, preset_value);
    rig.choose_model(kQuvexviewMax);
    rig.unit.clear_sent();

    rig.control<QPushButton>(button).click();

    QCOMPARE(rig.written_lines(), QStringList{written});
    QVERIFY(rig.messages.isEmpty());
}

void TestMainWindow::menu_items_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("first_line");
    QTest::addColumn<QStringList>("messages");

    // The settings file lies in a folder that does not exist, so both file items must fail.
    QTest::addRow("open settings") << QStringLiteral("fileopen") << QString()
                                   << QStringList{QStringLiteral("Could not open file %1")};
    QTest::addRow("save settings") << QStringLiteral("filesave") << QString()
                                   << QStringList{QStringLiteral("Error writing to %1")};
    QTest::addRow("store settings") << QStringLiteral("store_settings") << QStringLiteral("StoreSettings=1")
                                    << QStringList{};
    QTest::addRow("VGA store") << QStringLiteral("vga_store") << QStringLiteral("VGAStore=1") << QStringList{};
    QTest::addRow("read all") << QStringLiteral("read_unit") << QStringLiteral("Overscan") << QStringList{};
    QTest::addRow("write all") << QStringLiteral("write_unit") << QStringLiteral("Overscan=0") << QStringList{};
    QTest::addRow("reset") << QStringLiteral("reset_unit") << QStringLiteral("Reset=1")
                           << QStringList{QStringLiteral("Click OK when unit has reset.")};
}

void TestMainWindow::menu_items()
{
    QFETCH(QString, action);
    QFETCH(QString, first_line);
    QFETCH(QStringList, messages);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("missing/quvex.cfg"));
    for (QString &message : messages)
        message.replace(QStringLiteral("%1"), QDir::toNativeSeparators(path));
    WindowRig rig(path);
    rig.choose_model(kQuvexviewMax);
    rig.unit.clear_sent();

    rig.control<QAction>(action).trigger();

    const QStringList sent = rig.unit.sent_lines();
    QCOMPARE(sent.value(0), first_line);
    QCOMPARE(rig.messages, messages);
}

void TestMainWindow::closing_versus_exit_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("by_exit");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("port_open_after");
    QTest::addRow("closing, connected") << true << false << QStringList{QStringLiteral("COM port closed.")}
                                        << false;
    QTest::addRow("closing, disconnected") << false << false << QStringList{} << false;
    QTest::addRow("exit, connected") << true << true << QStringList{} << true;
}

void TestMainWindow::closing_versus_exit()
{
    QFETCH(bool, connected);
    QFETCH(bool, by_exit);
    QFETCH(QStringList, messages);
    QFETCH(bool, port_open_after);
    WindowRig rig;
    if (connected)
        rig.choose_model(kQuvexviewMax);

    if (by_exit)
        rig.control<QAction>(QStringLiteral("exit")).trigger();
    else
        QVERIFY(rig.window.close());

    QCOMPARE(rig.messages, messages);
    QCOMPARE(rig.quits, by_exit ? 1 : 0);
    QCOMPARE(rig.unit.is_open(), port_open_after);
}

void TestMainWindow::quick_ref_data()
{
    QTest::addColumn<bool>("readme_present");
    QTest::addColumn<bool>("viewer_starts");
    QTest::addColumn<int>("started");
    QTest::addColumn<QString>("message_start");
    QTest::addRow("viewer opens it") << true << true << 1 << QString();
    QTest::addRow("viewer will not start") << true << false << 1 << QStringLiteral("Could not open readme.txt: ");
    QTest::addRow("no readme.txt") << false << true << 0 << QStringLiteral("Could not open readme.txt: ");
}

void TestMainWindow::quick_ref()
{
    QFETCH(bool, readme_present);
    QFETCH(bool, viewer_starts);
    QFETCH(int, started);
    QFETCH(QString, message_start);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    const auto restore = qScopeGuard([&previous] { QDir::setCurrent(previous); });
    if (readme_present) {
        QFile readme(QStringLiteral("readme.txt"));
        QVERIFY(readme.open(QIODevice::WriteOnly));
    }
    WindowRig rig;
    rig.start_succeeds = viewer_starts;

    rig.control<QAction>(QStringLiteral("quick_ref")).trigger();

    QCOMPARE(rig.started.size(), started);
    if (started > 0) {
#ifdef Q_OS_WIN
        const QStringList expected{QStringLiteral("notepad.exe"), QStringLiteral("readme.txt")};
#else
        const QStringList expected{QStringLiteral("xdg-open"), QDir(folder.path()).absoluteFilePath(QStringLiteral("readme.txt"))};
#endif
        QCOMPARE(rig.started.constFirst(), expected);
    }
    QCOMPARE(rig.messages.size(), message_start.isEmpty() ? 0 : 1);
    if (!message_start.isEmpty())
        QVERIFY2(rig.messages.constFirst().startsWith(message_start), qPrintable(rig.messages.constFirst()));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
