// The rack over a rack of quvex-sim units of mixed models, each on a pseudo-terminal that a comN
// link names through a link of the test's own, so that a unit restarted on another
// pseudo-terminal stays on its port: its rows and states, the runs on several units at once, the
// watch, and the panel's own port, which nothing here may open.
#include "backup/backup_store.h"
#include "rack/rack.h"
#include "rack/unit_names.h"
#include "session/quiet_operator.h"
#include "session/quiet_view.h"
#include "session/unit_session.h"
#include "settings/settings_content.h"
#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace quvex;
using namespace Qt::StringLiterals;

namespace {

// Port N's unit, asked in a session of the test's own while the rack is idle: each item's
// number, -1 for none. With a value, the first item is set to it first.
QList<double> unit_values(int number, const QStringList &items, std::optional<double> set = std::nullopt)
{
    session::QuietOperator quiet;
    session::QuietView view;
    session::UnitSession unit(quiet, view);
    unit.use_port(number);
    quiet.m_link = &unit.link;
    unit.link.open_port();
    if (set)
        unit.link.send_item_value(items.constFirst(), *set);
    QList<double> values;
    for (const QString &item : items) {
        const link::Reading reading = unit.link.query_item_value(item);
        values.append(reading && !reading->is_empty() ? reading->number() : -1);
    }
    unit.link.close_port();
    return values;
}

} // namespace

class TestRack : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::vector<std::unique_ptr<test::SimProcess>> m_units{12};
    std::unique_ptr<rack::UnitNames> m_names;
    std::unique_ptr<backup::BackupStore> m_store;
    std::unique_ptr<rack::Rack> m_rack;
    QSerialPort m_holder;

    // Unit N (from 1) plays this; port N names it through the link units/unitN.
    bool start_unit(int number, const QStringList &arguments)
    {
        const QString name = m_home.filePath(u"units/unit%1"_s.arg(number));
        const QString port = m_home.filePath(u"quvex/ports/com%1"_s.arg(number));
        auto &unit = m_units[std::size_t(number - 1)];
        unit.reset();
        unit = test::start_sim(arguments + QStringList{"--no-pacing"});
        QFile::remove(name);
        QFile::remove(port);
        return !unit->device_path().isEmpty() && QFile::link(unit->device_path(), name) && QFile::link(name, port);
    }

    const rack::UnitRow &row(int number) const { return m_rack->rows().at(number - 1); }

    // Starts a run and gives its summary.
    QString run(const std::function<void()> &start)
    {
        QSignalSpy finished(m_rack.get(), &rack::Rack::run_finished);
        start();
        return finished.wait(60000) ? finished.constFirst().constFirst().toString() : u"no summary"_s;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
        QVERIFY(QDir().mkpath(m_home.filePath("units")) && QDir().mkpath(m_home.filePath("quvex/ports")));
        const QList<QStringList> units{
            {"--model", "QVM"}, {"--model", "QVMX"}, {"--model", "QK2"},   {"--model", "QVM"},
            {"--silent"},       {"--model", "QVL"},  {"--answer-unknown"}, {"--model", "QVM", "--trace"}};
        for (int n = 1; n <= 8; ++n)
            QVERIFY(start_unit(n, units.at(n - 1)));
        QVERIFY(QFile::link(m_home.filePath("units/gone"), m_home.filePath("quvex/ports/com9")));
        // Its adapter is pulled in the middle of the first backup.
        QVERIFY(start_unit(10, {"--model", "QVL", "--vanish-after", "10", "--vanish-for", "300"}));
        // Two serial ports the system reports, with no number: only the one with a unit gets a row.
        m_units[10] = test::start_sim({"--model", "QK1", "--no-pacing"});
        m_units[11] = test::start_sim({"--silent"});
        m_holder.setPortName(m_units[5]->device_path());
        QVERIFY(m_holder.open(QIODevice::ReadWrite));

        m_names = std::make_unique<rack::UnitNames>(m_home.filePath("names"));
        m_store = std::make_unique<backup::BackupStore>(m_home.filePath("store"));
        const QList<ports::SystemPort> system{{m_units[10]->device_path(), {}, {}, {}},
                                              {m_units[11]->device_path(), {}, {}, {}}};
        m_rack = std::make_unique<rack::Rack>([system] { return system; }, *m_names, *m_store);
        m_rack->set_own_port(m_home.filePath("units/unit8"), 2, u"answers"_s);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        m_rack->refresh();
        QCOMPARE(m_rack->rows().size(), 10);
        const auto asked = [this] {
            return std::none_of(m_rack->rows().cbegin(), m_rack->rows().cend(),
                                [](const rack::UnitRow &row) { return row.state == rack::UnitState::NotAsked; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(asked() && m_rack->rows().size() == 11, 10000);
        QVERIFY(row(5).silent_since >= before && row(5).silent_since <= QDateTime::currentDateTime());
    }

    void rows_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("model");
        QTest::addRow("QVM") << 1 << u"answers"_s << 2;
        QTest::addRow("QK2") << 3 << u"answers"_s << 6;
        QTest::addRow("silent") << 5 << u"no answer \\(since \\d\\d:\\d\\d:\\d\\d\\)"_s << 0;
        QTest::addRow("held") << 6 << u"in use by tst_rack \\(process %1\\)"_s.arg(QCoreApplication::applicationPid())
                              << 0;
        QTest::addRow("not a QUVEX unit") << 7 << u"answers, but not as a QUVEX unit"_s << 0;
        QTest::addRow("the panel's own") << 8 << u"open in this panel \\(answers\\)"_s << 2;
        QTest::addRow("gone") << 9
                              << QRegularExpression::escape(m_home.filePath("units/gone"))
                                     + u" does not exist: the adapter is not plugged in, or the port number names "
                                       "another port\\."_s
                              << 0;
        QTest::addRow("on a port with no number") << 11 << u"answers"_s << 5;
    }

    void rows()
    {
        QFETCH(int, port);
        QFETCH(QString, state);
        QFETCH(int, model);
        QVERIFY2(QRegularExpression(u"^(?:%1)$"_s.arg(state)).match(rack::state_text(row(port))).hasMatch(),
                 qPrintable(rack::state_text(row(port))));
        QCOMPARE(row(port).model_index, model);
        QCOMPARE(rack::port_text(row(port)), port < 11 ? u"COM %1"_s.arg(port) : m_units[10]->device_path());
    }

    // A backup of all, a value changed behind the rack's back, found and sent back; then a file
    // loaded into the units of its model only, each given only what differs.
    void runs()
    {
        const QString held = u"in use by tst_rack (process %1)"_s.arg(QCoreApplication::applicationPid());
        QCOMPARE(run([this] {
                     m_rack->back_up({0, 1, 2, 3, 4, 5, 7, 9});
                 }),
                 u"4 of 8 backed up; COM 5: no answer; COM 6: "_s + held
                     + u"; COM 8: open in this panel; COM 10: not read to the end"_s);
        QCOMPARE(row(10).state, rack::UnitState::NoAnswer);
        QCOMPARE(row(2).outcome, u"new version"_s);
        QVERIFY(!row(2).running && row(2).total > 0 && row(2).done == row(2).total);
        QCOMPARE(row(2).changes, u"none"_s);
        QCOMPARE(row(2).last_backup, m_store->versions({row(2).target, u"QVMX"_s}).constLast().time);

        QCOMPARE(unit_values(2, {u"Flicker Red."_s}, 5), QList<double>{5});
        QSignalSpy found(m_rack.get(), &rack::Rack::changes_found);
        QCOMPARE(run([this] { m_rack->find_changes({0, 1, 2, 3}); }), u"4 of 4 compared"_s);
        const auto changes = found.constFirst().constFirst().value<QList<rack::UnitChanges>>();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.constFirst().row, 1);
        QCOMPARE(changes.constFirst().differences, QList<settings::Difference>({{u"Flicker Red."_s, 3, 5}}));
        QCOMPARE(row(2).changes, u"1 item"_s);
        QCOMPARE(row(1).changes, u"none"_s);
        QCOMPARE(run([this, changes] { m_rack->send_changes(changes); }), u"1 of 1 sent"_s);
        QCOMPARE(unit_values(2, {u"Flicker Red."_s}), QList<double>{3});

        QCOMPARE(unit_values(4, {u"Flicker Red."_s}, 7), QList<double>{7});
        const settings::SettingsContent file = settings::parse_settings(
            "\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Max\"\r\n\"Flicker Red.      \",7\r\n");
        QCOMPARE(run([this, file] {
                     m_rack->load_file({0, 1, 2, 3}, file);
                 }),
                 u"2 of 2 loaded; COM 2: another model, left alone; COM 3: another model, left alone"_s);
        QCOMPARE(row(1).outcome, u"1 item loaded"_s);
        QCOMPARE(row(4).outcome, u"holds the file's values"_s);
        QCOMPARE(unit_values(1, {u"Flicker Red."_s}), QList<double>{7});
    }

    // Cancelled in the middle, every unit gets its own video mode back.
    void cancel()
    {
        for (int n : {1, 4})
            QVERIFY(start_unit(n, {"--model", "QVM", "--delay", "50", "--trace"}));
        QCOMPARE(run([this] {
                     m_rack->back_up({0, 3});
                     QVERIFY(m_units[0]->await_heard(u"VideoStd=1"_s, 20000) >= 0);
                     m_rack->cancel();
                 }),
                 u"0 of 2 backed up; COM 1: stopped; COM 4: stopped"_s);
        for (int n : {1, 4})
            QCOMPARE(unit_values(n, {u"Video Std"_s, u"Overscan"_s}), QList<double>({0, 0}));
    }

    // A unit that falls silent turns to "no answer" at the next question, and back once it
    // answers again; a unit still being asked is not asked again (its port would be found in use
    // by this very process). The silent one found at the refresh keeps the time it was first
    // found so.
    void watch()
    {
        const QDateTime silent_since = row(5).silent_since;
        QList<rack::UnitState> seen;
        connect(m_rack.get(), &rack::Rack::row_changed, this, [&](int index) {
            if (index == 1)
                seen.append(row(2).state);
        });
        QVERIFY(start_unit(2, {"--silent", "--trace"}));
        m_rack->set_watch_interval(50);
        m_rack->start_watch();
        QTRY_VERIFY_WITH_TIMEOUT(m_units[1]->heard().count(u"VideoStd"_s) >= 3, 10000);
        QCOMPARE(seen, QList<rack::UnitState>{rack::UnitState::NoAnswer});
        QVERIFY(start_unit(2, {"--model", "QVMX"}));
        QTRY_COMPARE_WITH_TIMEOUT(row(2).state, rack::UnitState::Answers, 10000);
        QVERIFY(!row(2).silent_since.isValid());
        QCOMPARE(row(5).silent_since, silent_since);
        // Neither the refresh, nor a run, nor the watch opened the panel's own port.
        QCOMPARE(m_units[7]->heard(200), QStringList());

        // The panel takes a port while the watch is asking its unit: the question ends at once,
        // and the port is the panel's to open.
        QVERIFY(start_unit(2, {"--silent", "--trace"}));
        QTRY_VERIFY_WITH_TIMEOUT(m_units[1]->heard().contains(u"VideoStd"_s), 10000);
        m_rack->set_own_port(m_home.filePath("units/unit2"), 3, u"answers"_s);
        QSerialPort panel(m_units[1]->device_path());
        QVERIFY(panel.open(QIODevice::ReadWrite));
        m_rack->stop_watch();

        // And while a refresh is probing it.
        panel.close();
        m_rack->set_own_port({}, 0, {});
        const qsizetype heard = m_units[1]->heard().size();
        m_rack->refresh();
        QTRY_VERIFY_WITH_TIMEOUT(m_units[1]->heard().size() > heard, 10000);
        m_rack->set_own_port(m_home.filePath("units/unit2"), 3, u"answers"_s);
        QVERIFY(panel.open(QIODevice::ReadWrite));
    }
};

QTEST_GUILESS_MAIN(TestRack)
#include "tst_rack.moc"
