#include "ser2net_process.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QThread>

namespace quvex::test {

Ser2netProcess::Ser2netProcess(QString device, Ser2netSetup setup)
    : m_device(std::move(device))
    , m_setup(std::move(setup))
{
}

bool Ser2netProcess::start(int timeout_ms)
{
    if (m_tcp_port == 0)
        m_tcp_port = free_tcp_port();
    const QString config = m_folder.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    // tcp(nodelay) and chardelay off: each answer goes on as it comes, not held back by Nagle's
    // wait for an acknowledgement or by ser2net's wait for more characters.
    const QByteArray tcp = m_setup.as_shipped ? "tcp" : "tcp(nodelay)";
    QByteArray yaml = "connection: &unit\n  accepter: " + tcp + ",127.0.0.1," + QByteArray::number(m_tcp_port)
                      + "\n  connector: serialdev," + QFile::encodeName(m_device)
                      + ",9600n81,local\n  options:\n    kickolduser: false\n";
    if (!m_setup.as_shipped)
        yaml += "    chardelay: false\n";
    if (!m_setup.banner.isEmpty())
        yaml += "    banner: \"" + m_setup.banner.toLatin1() + "\"\n";
    if (!m_folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(yaml) != yaml.size() || !file.flush()) {
        m_error = QStringLiteral("cannot write ") + config;
        return false;
    }
    file.close();
    // -n: in the foreground, so the harness owns it; -u: no UUCP lock files in the system's folders.
    m_process.start(QStringLiteral("ser2net"),
                    {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-P"),
                     m_folder.filePath(QStringLiteral("ser2net.pid")), QStringLiteral("-c"), config});
    // ser2net says nothing once it listens; the system's socket table shows it.
    const QDeadlineTimer deadline(timeout_ms);
    while (m_process.state() != QProcess::NotRunning && !listening(m_tcp_port) && !deadline.hasExpired())
        QThread::msleep(5);
    if (listening(m_tcp_port))
        return true;
    m_error = QStringLiteral("ser2net did not listen on %1: %2 %3")
                  .arg(m_tcp_port)
                  .arg(m_process.errorString(), QString::fromLocal8Bit(m_process.readAllStandardError()));
    return false;
}

void Ser2netProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString Ser2netProcess::target() const
{
    return QStringLiteral("tcp://127.0.0.1:%1").arg(m_tcp_port);
}

quint16 free_tcp_port()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost) ? server.serverPort() : 0;
}

bool listening(quint16 tcp_port)
{
    // Lines of /proc/net/tcp: "sl local_address rem_address st ...", 127.0.0.1 as 0100007F and
    // LISTEN as state 0A.
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local = "0100007F:" + QByteArray::number(tcp_port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.at(1) == local && fields.at(3) == "0A")
            return true;
    }
    return false;
}

} // namespace quvex::test
