// The real window on the real serial port, through a pseudo-terminal, against quvex-sim: what an
// operator at the keyboard, or one who clicks quickly, meets on a bench.
#include "app/main_window.h"
#include "catalogue/catalogue.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "serial/qt_serial_port.h"
#include "settings/settings_file.h"
#include "support/sim_process.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtWidgets>

using namespace quvex;
using namespace Qt::StringLiterals;

namespace {

// The window as main() builds it, but messages are recorded instead of waiting for a click.
struct WindowRig
{
    WindowRig()
    {
        catalogue::build_catalogue(catalogue);
        window.attach(link, panel, settings);
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
    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    serial::QtSerialPort port;
    app::MainWindow window{app::WindowHooks{
        .show_message = [this](QWidget *, const QString &text, auto &, auto, auto &) { messages.append(text); },
        .process_events = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); },
        .start_detached = [](const QString &, const QStringList &) { return false; },
        .program_folder = QString(),
        .quit = [] {},
        .choose_differences = {},
        .choose_file = {},
        .config_file = {}}};
    link::Link link{port, window.operator_side()};
    link::ModeBracket bracket{link};
    panel::Panel panel{catalogue, model, link, bracket, window.operator_side(), window.view()};
    QTemporaryDir folder;
    settings::SettingsFile settings{catalogue, bracket, window.operator_side(), panel, folder.filePath(u"quvex.cfg"_s)};
};

} // namespace

class TestWindowEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit()); }

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

    // The release of a click arrives while the value typed before it is on its way to the unit.
    void click_right_after_typing()
    {
        const auto sim = test::start_sim({u"--com"_s, u"1"_s});
        WindowRig rig;
        rig.get<QAbstractButton>(u"quvex_2"_s).click();
        auto &list = rig.get<QListWidget>(u"menu_list"_s);
        QListWidgetItem *line = list.findItems(u"Pan X Pos:"_s, Qt::MatchStartsWith).value(0);
        list.scrollToItem(line);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(line).center());
        auto &value_box = rig.get<QLineEdit>(u"item_value"_s);
        value_box.setFocus(Qt::TabFocusReason);
        QTest::keyClicks(&value_box, u"77"_s);

        auto &plus = rig.get<QPushButton>(u"inc"_s);
        bool released = false;
        QTimer::singleShot(0, &plus, [&] {
            QTest::mouseRelease(&plus, Qt::LeftButton);
            released = true;
        });
        QTest::mousePress(&plus, Qt::LeftButton);
        QTRY_VERIFY(released);
        QCOMPARE(list.currentItem()->text(), u"Pan X Pos:        78"_s);
        QVERIFY(plus.hasFocus());
        QCOMPARE(rig.messages, QStringList());
    }
};

QTEST_MAIN(TestWindowEndToEnd)
#include "tst_window_end_to_end.moc"
