// Saving and loading where the world is hostile: a full disk, and paths that are no plain file.
// Each case runs in a child process of this test, so that a file-size limit applies to it alone
// and a load that blocked on a FIFO would be killed rather than hang the suite.
#include "settings/settings_file.h"
#include "support/rig.h"
#include "support/settings_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quvex;

namespace {

const char *const kChildVariable = "QUVEX_SETTINGS_CHILD"; // "save PATH" or "load PATH"

// The child's whole output is its messages, one a line.
int run_child(const QString &task)
{
    test::Rig rig("QVL");
    rig.connect(1);
    settings::SettingsFile file = rig.settings_file(task.section(u' ', 1));
    task.startsWith(u"save") ? file.filesave_Click() : file.fileopen_Click();
    for (const QString &text : rig.operator_side.message_texts())
        std::printf("%s\n", qPrintable(text));
    return 0;
}

// What stands at path, links followed: a regular file with its bytes, or the kind of thing.
QByteArray kind_of(const QString &path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (info.isFile())
        return file.open(QIODevice::ReadOnly) ? "file " + file.readAll() : "unreadable file";
    return info.isDir() ? "folder" : info.exists() ? "no plain file" : "nothing";
}

} // namespace

class TestSettingsFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostile_paths_data()
    {
        QTest::addColumn<bool>("save");     // else load
        QTest::addColumn<QString>("setup"); // what stands at the path before
        QTest::addRow("save, disk full part-way") << true << "full disk";
        QTest::addRow("save over a FIFO") << true << "FIFO";
        QTest::addRow("save through a link to a FIFO") << true << "link to FIFO";
        QTest::addRow("save over a socket") << true << "socket";
        QTest::addRow("load a FIFO") << false << "FIFO";
        QTest::addRow("load through a link to /dev/zero") << false << "link to /dev/zero";
        QTest::addRow("load a folder") << false << "folder";
    }

    void hostile_paths()
    {
        QFETCH(bool, save);
        QFETCH(QString, setup);
        QTemporaryDir dir;
        const QString path = dir.filePath("quvex.cfg");
        if (setup == "full disk") {
            test::write_file(path, "the old settings");
        } else if (setup.endsWith("FIFO")) {
            const QString fifo = setup == "FIFO" ? path : dir.filePath("fifo");
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            QVERIFY(fifo == path || QFile::link(fifo, path));
        } else if (setup == "socket") {
            sockaddr_un address{AF_UNIX, {}};
            std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
            // The bound name stays on disk when the socket is closed.
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QVERIFY(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0);
            ::close(fd);
        } else if (setup == "folder") {
            QVERIFY(QDir(dir.path()).mkdir("quvex.cfg"));
        } else {
            QVERIFY(QFile::link("/dev/zero", path));
        }
        const QByteArray before = kind_of(path);

        QProcess child;
        child.setEnvironment(QProcess::systemEnvironment() << kChildVariable + ((save ? "=save " : "=load ") + path));
        // As a full disk does: the write that crosses the limit fails part-way.
        child.setChildProcessModifier([full = setup == "full disk"] {
            const rlimit limit{300, 300};
            if (full && ::setrlimit(RLIMIT_FSIZE, &limit) == 0)
                std::signal(SIGXFSZ, SIG_IGN);
        });
        child.start(QCoreApplication::applicationFilePath(), {});
        // A child still running is killed with the QProcess.
        QVERIFY2(child.waitForFinished(5000), "the child did not finish: blocked, or reading without end");

        const QString message = save ? "Error writing to %1\n" : "Could not open file %1\n";
        QCOMPARE(child.readAllStandardOutput(), message.arg(QDir::toNativeSeparators(path)).toLatin1());
        QCOMPARE(kind_of(path), before);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable))
        return run_child(qEnvironmentVariable(kChildVariable));
    TestSettingsFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings_files.moc"
