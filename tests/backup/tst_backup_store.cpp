// The backup store on folders of the test's own: the names units get, which settings make a new
// version, how many stay, and a store that cannot be written. A full disk is a file-size limit
// in a child process of this test, so that it applies to the child alone.
#include "backup/backup_store.h"
#include "backup/unit_name.h"
#include "support/settings_bytes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/resource.h>

using namespace quvex;
using namespace Qt::StringLiterals;

namespace {

const char *const kChildVariable = "QUVEX_BACKUP_CHILD"; // the store's folder
const backup::UnitKey kUnit{u"tcp://rack3:4001"_s, u"QVM"_s};

// Second s of 2026-12-07 16:38 UTC.
QDateTime at(int s)
{
    return QDateTime(QDate(2026, 12, 7), QTime(16, 38, s), Qt::UTC);
}

// A settings file whose one item has this value, over 300 bytes long.
QByteArray settings(char value)
{
    return test::settings_header("QUVEXview Max") + "\"Zoom\"," + value + QByteArray(300, ' ');
}

// Saves the settings of value '9' as a child, with a file-size limit of 300 bytes when asked to.
int run_child(const QString &task)
{
    if (task.startsWith(u"full "))
        std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{300, 300};
    if (task.startsWith(u"full ") && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    const backup::SaveResult result = backup::BackupStore(task.section(u' ', 1)).save(kUnit, settings('9'), at(9), 30);
    std::printf("%s\n", qPrintable(result.error));
    return result.saved == backup::Saved::Failed ? 0 : 1;
}

} // namespace

class TestBackupStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("device"); // $: a folder of the test's own, with its by-id folder
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("folder"); // of a QVM
        QTest::addRow("adapter with a by-id name") << "$/ttyUSB0"
                                                   << "$/by-id/usb-FTDI_FT232R_A50285BI-if00-port0"
                                                   << "usb-FTDI_FT232R_A50285BI-if00-port0@QVM";
        QTest::addRow("network address") << "tcp://rack3:4001"
                                         << "tcp://rack3:4001"
                                         << "rack3_4001@QVM";
        QTest::addRow("IPv6 address") << "tcp://[fe80::1]:4001"
                                      << "tcp://[fe80::1]:4001"
                                      << "[fe80__1]_4001@QVM";
        QTest::addRow("device without one") << "/dev/ttyS0"
                                            << "/dev/ttyS0"
                                            << "dev_ttyS0@QVM";
    }

    void names()
    {
        QFETCH(QString, device);
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString by_id = dir.filePath("by-id");
        QVERIFY(QDir().mkdir(by_id) && QFile(dir.filePath("ttyUSB0")).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(dir.filePath("ttyUSB0"), by_id + "/usb-FTDI_FT232R_A50285BI-if00-port0"));
        const QString found = backup::unit_target(device.replace(u'$', dir.path()), by_id);
        QCOMPARE(found, target.replace(u'$', dir.path()));
        QTEST(backup::unit_folder_name(found, "QVM", by_id), "folder");
    }

    void safe_names_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addRow("separators, wildcards, quotes") << "a/b\\c:d*e?f\"g<h>i|j"
                                                       << "a_b_c_d_e_f_g_h_i_j";
        QTest::addRow("control characters") << "a\tb\x01"
                                               "c\x7F"
                                            << "a_b_c_";
        QTest::addRow("trailing dots and spaces") << "unit. ."
                                                  << "unit___";
        QTest::addRow("reserved name") << "CON"
                                       << "_CON";
        QTest::addRow("reserved name with an extension") << "com1.QVM"
                                                         << "_com1.QVM";
        QTest::addRow("reserved name's start") << "COM1@QVM"
                                               << "COM1@QVM";
        QTest::addRow("empty") << ""
                               << "_";
    }

    void safe_names()
    {
        QFETCH(QString, text);
        QTEST(backup::safe_file_name(text), "name");
    }

    void versions_data()
    {
        QTest::addColumn<QStringList>("saves"); // each value@second, for settings(value) at(second)
        QTest::addColumn<int>("keep");
        QTest::addColumn<QStringList>("results"); // n: new version, u: unchanged
        QTest::addColumn<QStringList>("kept");    // each file, then the value in it
        QTest::addRow("unchanged writes no version")
            << QStringList{"1@10", "1@20"} << 30 << QStringList{"n", "u"} << QStringList{"20261207T163810Z.cfg 1"};
        QTest::addRow("changed back is a version")
            << QStringList{"1@10", "2@20", "1@30"} << 30 << QStringList{"n", "n", "n"}
            << QStringList{"20261207T163810Z.cfg 1", "20261207T163820Z.cfg 2", "20261207T163830Z.cfg 1"};
        QTest::addRow("two in one second")
            << QStringList{"1@10", "2@10", "3@10"} << 30 << QStringList{"n", "n", "n"}
            << QStringList{"20261207T163810Z.cfg 1", "20261207T163810Z_2.cfg 2", "20261207T163810Z_3.cfg 3"};
        QTest::addRow("the newest two kept")
            << QStringList{"1@10", "2@20", "2@25", "3@30"} << 2 << QStringList{"n", "n", "u", "n"}
            << QStringList{"20261207T163820Z.cfg 2", "20261207T163830Z.cfg 3"};
    }

    void versions()
    {
        QFETCH(QStringList, saves);
        QFETCH(int, keep);
        QTemporaryDir root;
        backup::BackupStore store(root.path());
        QStringList results;
        for (const QString &save : saves) {
            const backup::SaveResult result =
                store.save(kUnit, settings(save.front().toLatin1()), at(save.section(u'@', 1).toInt()), keep);
            QCOMPARE(result.error, QString());
            results.append(result.saved == backup::Saved::NewVersion ? "n" : "u");
        }
        QTEST(results, "results");
        QStringList kept;
        for (const backup::Version &version : store.versions(kUnit))
            kept.append(QFileInfo(version.path).fileName() + u' ' + test::file_bytes(version.path).at(50));
        QTEST(kept, "kept");
        const QString folder = root.filePath("rack3_4001@QVM/");
        QCOMPARE(test::file_bytes(folder + "unit"), "tcp://rack3:4001\nQVM\n");
        QCOMPARE(test::file_bytes(folder + "checked"),
                 "2026-12-07T16:38:" + saves.last().section(u'@', 1).toLatin1() + "Z\n");
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), kept.size() + 2);
        QCOMPARE(store.units(), QList<backup::UnitKey>{kUnit});
    }

    void unwritable_store_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("error"); // $: the store's folder
        QTest::addRow("disk full part-way") << "full"
                                            << "cannot write $/rack3_4001@QVM/20261207T163809Z.cfg: File too large";
        QTest::addRow("unit's folder read-only")
            << "immutable"
            << "cannot write $/rack3_4001@QVM/20261207T163809Z.cfg: Operation not permitted";
        QTest::addRow("store is a file") << "file"
                                         << "cannot create the folder $/store/rack3_4001@QVM";
    }

    // Every version there was stays whole, and nothing is added beside them.
    void unwritable_store()
    {
        QFETCH(QString, setup);
        QFETCH(QString, error);
        QTemporaryDir root;
        QString store_path = root.path();
        QVERIFY(backup::BackupStore(store_path).save(kUnit, settings('1'), at(1), 30).saved
                == backup::Saved::NewVersion);
        const QString folder = root.filePath("rack3_4001@QVM");
        std::optional<test::HeldFile> held;
        if (setup == "file") {
            store_path = root.filePath("store");
            test::write_file(store_path, "no folder");
        } else if (setup == "immutable") {
            held.emplace(folder);
            if (!held->held())
                QSKIP("the file system cannot make a folder read-only for root");
        }
        const QStringList before = QDir(folder).entryList(QDir::Files);
        QProcess child;
        child.setEnvironment(QProcess::systemEnvironment() << kChildVariable + (u'=' + setup + u' ' + store_path));
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(5000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()), error.replace(u'$', root.path()) + u'\n');
        held.reset();
        QCOMPARE(QDir(folder).entryList(QDir::Files), before);
        QCOMPARE(test::file_bytes(folder + "/20261207T163801Z.cfg"), settings('1'));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable))
        return run_child(qEnvironmentVariable(kChildVariable));
    TestBackupStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backup_store.moc"
