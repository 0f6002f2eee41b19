// Saving and loading where the world is hostile: a full disk, and paths that are no plain file.
// Each case runs in a child process of this test, so that a file-size limit applies to it alone
// and a load that blocked on a FIFO would be killed rather than hang the suite.
#include "settings/settings_file.h"
#include "support/rig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quvex;
using namespace Qt::StringLiterals;

namespace {

const char *const kChildVariable = "QUVEX_SETTINGS_CHILD"; // "save PATH" or "load PATH"
const QByteArray kOldFile = "\"QUVEX Control Panel\"\r\n1\r\n\"QUVEXview Lite\"\r\n\"Overscan          \",1\r\n";

// What the child did, for the parent to compare: its messages, and after a load the writes
// on the wire (a save switches the unit's video mode to read it, and back).
int run_child(const QString &task)
{
    const QString path = task.section(u' ', 1);
    test::Rig rig;
    rig.panel.quvex_Click(1);
    rig.unit.clear_sent();
    settings::SettingsFile file = rig.settings_file(path);
    const bool save = task.startsWith(u"save");
    if (save)
        file.filesave_Click();
    else
        file.fileopen_Click();
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    for (const QString &text : rig.operator_side.message_texts())
        out.write(text.toLatin1() + '\n');
    if (!save)
        out.write("written: " + rig.unit.sent_lines().filter(u"="_s).join(u' ').toLatin1() + '\n');
    return 0;
}

// A listening-free Unix socket bound at path; the descriptor is closed with the test.
int bind_socket(const QString &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The kind of thing at path, links followed, and a regular file's bytes.
QByteArray kind_of(const QString &path)
{
    struct stat status
    {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return "nothing";
    if (S_ISFIFO(status.st_mode))
        return "FIFO";
    if (S_ISDIR(status.st_mode))
        return "folder";
    if (S_ISSOCK(status.st_mode))
        return "socket";
    if (S_ISCHR(status.st_mode))
        return "device";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? "file " + file.readAll() : "unreadable file";
}

} // namespace

class TestSettingsFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hostile_paths_data()
    {
        QTest::addColumn<QString>("task");
        QTest::addColumn<QString>("setup");  // what stands at the path before
        QTest::addColumn<int>("size_limit"); // bytes a file may grow to in the child; 0: none
        QTest::addColumn<QString>("message");
        const QString writing = "Error writing to %1";
        const QString opening = "Could not open file %1";
        QTest::addRow("save, disk full part-way") << "save"
                                                  << "old file" << 300 << writing;
        QTest::addRow("save over a FIFO") << "save"
                                          << "FIFO" << 0 << writing;
        QTest::addRow("save through a link to a FIFO") << "save"
                                                       << "link to FIFO" << 0 << writing;
        QTest::addRow("save over a socket") << "save"
                                            << "socket" << 0 << writing;
        QTest::addRow("load a FIFO") << "load"
                                     << "FIFO" << 0 << opening;
        QTest::addRow("load through a link to /dev/zero") << "load"
                                                          << "link to /dev/zero" << 0 << opening;
        QTest::addRow("load a folder") << "load"
                                       << "folder" << 0 << opening;
    }

    void hostile_paths()
    {
        QFETCH(QString, task);
        QFETCH(QString, setup);
        QFETCH(int, size_limit);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("quvex.cfg");
        const QString fifo = dir.filePath("fifo");
        const auto socket = qScopeGuard([fd = setup == "socket" ? bind_socket(path) : -1] {
            if (fd >= 0)
                ::close(fd);
        });
        if (setup == "old file") {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(kOldFile) == kOldFile.size());
        } else if (setup == "FIFO") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (setup == "link to FIFO") {
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            QVERIFY(QFile::link(fifo, path));
        } else if (setup == "folder") {
            QVERIFY(QDir(dir.path()).mkdir("quvex.cfg"));
        } else if (setup == "link to /dev/zero") {
            QVERIFY(QFile::link("/dev/zero", path));
        }
        const QByteArray before = kind_of(path);

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kChildVariable, task + u' ' + path);
        child.setProcessEnvironment(environment);
        // As a full disk does: the write that crosses the limit fails part-way.
        child.setChildProcessModifier([size_limit] {
            if (size_limit > 0) {
                const rlimit limit{rlim_t(size_limit), rlim_t(size_limit)};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                std::signal(SIGXFSZ, SIG_IGN);
            }
        });
        child.start(QCoreApplication::applicationFilePath(), {});
        const bool finished = child.waitForFinished(5000);
        if (!finished)
            child.kill();
        QVERIFY2(finished, "the child did not finish: blocked, or reading without end");

        const QByteArray output = child.readAllStandardOutput();
        const QString loaded = task == "load" ? "written: \n" : "";
        QCOMPARE(output, (message.arg(QDir::toNativeSeparators(path)) + u'\n' + loaded).toLatin1());
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
