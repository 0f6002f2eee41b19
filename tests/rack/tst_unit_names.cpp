// The names operators give units, in a file of the test's own: what it holds byte for byte, what
// a second reader finds in it, a file damaged by hand, and one that cannot be written.
#include "rack/unit_names.h"
#include "support/settings_bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace quvex;

namespace {

const QByteArray kHeading = "# The names of QUVEX units: the unit's line (its by-id link, tcp://HOST:PORT or device),\n"
                            "# a tab, its name. %XX is the byte XX in hex: %09 a tab, %0A a line end, %25 a %.\n";

using Names = QList<std::pair<QString, QString>>;

} // namespace

class TestUnitNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QByteArray>("before"); // the file as a person left it; empty: none
        QTest::addColumn<Names>("given");       // in this order
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Names>("found"); // by a second reader
        const QString by_id = "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0";
        QTest::addRow("two units, in a folder not there yet")
            << QByteArray() << Names{{by_id, "Studio A genlock"}, {"tcp://rack3:4001", "  Rack 3 \t"}}
            << kHeading + by_id.toUtf8() + "\tStudio A genlock\ntcp://rack3:4001\tRack 3\n"
            << Names{{by_id, "Studio A genlock"}, {"tcp://rack3:4001", "Rack 3"}};
        // A tab or a line end would forge a field or a line, an ESC act on a terminal.
        const QString awkward = "#tab\there\nCR\r%41 \x1B[2J \u0085 \u2603\U0001F3AC";
        QTest::addRow("awkward characters")
            << QByteArray() << Names{{awkward, awkward}}
            << kHeading
                   + "%23tab%09here%0ACR%0D%2541 %1B[2J %C2%85 \xE2\x98\x83\xF0\x9F\x8E\xAC\t#tab%09here%0ACR%0D%2541 "
                     "%1B[2J %C2%85 \xE2\x98\x83\xF0\x9F\x8E\xAC\n"
            << Names{{awkward, awkward}};
        QTest::addRow("renamed, and a name taken away")
            << QByteArray() << Names{{"/dev/ttyS0", "A"}, {"/dev/ttyS1", "B"}, {"/dev/ttyS0", "C"}, {"/dev/ttyS1", ""}}
            << kHeading + "/dev/ttyS0\tC\n"
            << Names{{"/dev/ttyS0", "C"}, {"/dev/ttyS1", ""}};
        // What cannot be read is skipped and kept as it was; the rest is found. The last line of
        // a unit named twice wins, and a new name takes the place of both.
        const QByteArray damaged = "no tab here\n\xFF\xFE\tbad bytes\na\tb\tc\n\tno line\n/dev/ttyS0\tA\n"
                                   "/dev/ttyS1\tB\r\n#/dev/ttyS2\tcomment\n/dev/ttyS0\tA2";
        QTest::addRow("damaged by hand") << damaged << Names() << damaged
                                         << Names{{"/dev/ttyS0", "A2"}, {"/dev/ttyS1", "B"}, {"/dev/ttyS2", ""}};
        QTest::addRow("damaged by hand, then a name given")
            << damaged << Names{{"/dev/ttyS0", "Z"}}
            << QByteArray("no tab here\n\xFF\xFE\tbad bytes\na\tb\tc\n\tno line\n/dev/ttyS0\tZ\n/dev/ttyS1\tB\n"
                          "#/dev/ttyS2\tcomment\n")
            << Names{{"/dev/ttyS0", "Z"}, {"/dev/ttyS1", "B"}};
    }

    void names()
    {
        QFETCH(QByteArray, before);
        QFETCH(Names, given);
        QTemporaryDir home;
        const QString path = home.filePath("quvex/unit-names");
        if (!before.isEmpty()) {
            QVERIFY(QDir().mkpath(home.filePath("quvex")));
            test::write_file(path, before);
        }
        rack::UnitNames names(path);
        for (const auto &[target, name] : given) {
            QString error;
            QVERIFY(names.set_name(target, name, &error));
            QCOMPARE(error, QString());
        }
        QTEST(test::file_bytes(path), "file");
        const rack::UnitNames again(path);
        QFETCH(Names, found);
        for (const auto &[target, name] : found) {
            QCOMPARE(again.name(target), name);
            QCOMPARE(names.name(target), name);
        }
    }

    void unwritable_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("error"); // $: the test's folder
        QTest::addRow("disk full") << "full"
                                   << "cannot write $/quvex/unit-names: File too large";
        QTest::addRow("its folder is a file") << "file"
                                              << "cannot create the folder $/quvex";
    }

    // The name is not kept, and the names there were stay whole.
    void unwritable()
    {
        QFETCH(QString, setup);
        QFETCH(QString, error);
        QTemporaryDir home;
        const QString path = home.filePath("quvex/unit-names");
        const QByteArray before = setup == "full" ? kHeading + "/dev/ttyS0\t" + QByteArray(300, 'A') + '\n' : "";
        if (setup == "full")
            QVERIFY(QDir().mkpath(home.filePath("quvex")));
        test::write_file(setup == "full" ? path : home.filePath("quvex"), before);
        rack::UnitNames names(path);
        rlimit limit{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit full{300, limit.rlim_max};
        const auto ignored = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setup != "full" || ::setrlimit(RLIMIT_FSIZE, &full) == 0);
        QString why;
        const bool kept = names.set_name("/dev/ttyS1", "Studio B", &why);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, ignored);
        QVERIFY(!kept);
        QCOMPARE(why, error.replace(u'$', home.path()));
        QCOMPARE(names.name("/dev/ttyS1"), QString());
        QCOMPARE(test::file_bytes(setup == "full" ? path : home.filePath("quvex")), before);
        QCOMPARE(QDir(home.filePath("quvex")).entryList(QDir::Files | QDir::Hidden),
                 setup == "full" ? QStringList{"unit-names"} : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestUnitNames)
#include "tst_unit_names.moc"
