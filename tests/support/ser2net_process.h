#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace quvex::test {

struct Ser2netSetup
{
    QString banner; // YAML string escapes allowed
    // ser2net's own defaults for passing data on, which hold back every answer a little.
    bool as_shipped = false;
};

// Runs ser2net (Debian's package) for a test in front of a device, as an installer sets up a
// rack: raw TCP on 127.0.0.1, the line at 9600n81 with modem control off, kickolduser false (a
// second client is turned away), a banner only when one is given. The configuration is written
// into a folder of the harness's own. start() again after stop() serves the same TCP port.
// Stopped with SIGTERM on destruction.
class Ser2netProcess
{
public:
    explicit Ser2netProcess(QString device, Ser2netSetup setup = {});
    Ser2netProcess(const Ser2netProcess &) = delete;
    Ser2netProcess &operator=(const Ser2netProcess &) = delete;
    ~Ser2netProcess() { stop(); }

    // False when ser2net did not come to listen in time; error() then says why.
    bool start(int timeout_ms = 5000);
    void stop();

    // tcp://127.0.0.1:PORT
    QString target() const;
    QString error() const { return m_error; }

private:
    QString m_device;
    Ser2netSetup m_setup;
    QTemporaryDir m_folder;
    QProcess m_process;
    quint16 m_tcp_port = 0;
    QString m_error;
};

// A TCP port on 127.0.0.1 that nothing listens on at the moment.
quint16 free_tcp_port();

// Whether something listens on that TCP port of 127.0.0.1 (read from the system's own table,
// without connecting).
bool listening(quint16 tcp_port);

} // namespace quvex::test
