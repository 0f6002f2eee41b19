#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>

namespace quvex::test {

// Runs quvex-sim (the path in QUVEX_SIM) for a test and learns its device from the announce line
// "quvex-sim: <MODEL> on <device path>", and again from the next one when the simulated adapter
// comes back after --vanish-after. The simulator is stopped with SIGTERM on destruction.
class SimProcess
{
public:
    explicit SimProcess(QStringList arguments = {},
                        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
        : m_arguments(std::move(arguments))
    {
        m_process.setProcessEnvironment(environment);
    }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;
    ~SimProcess() { stop(); }

    // False when the simulator did not announce itself in time; error() then says why.
    bool start(int timeout_ms = 5000);
    // Takes the device from the next announce line; false when none came in time.
    bool await_device(int timeout_ms);
    // SIGTERM, then wait; gives the exit code, or -1 when it had to be killed or had crashed.
    int stop(int timeout_ms = 3000);

    QString device_path() const { return m_device_path; }
    QString error() const { return m_error; }
    QProcess &process() { return m_process; }

    // The lines the simulator heard so far, as its --trace logs them, after waiting up to
    // settle_ms for more of its log to arrive.
    QStringList heard(int settle_ms = 0);

private:
    QStringList m_arguments;
    QProcess m_process;
    QString m_device_path;
    QString m_error;
    QStringList m_heard;
};

// A simulator started with these arguments, in this process's environment (so with its
// XDG_CONFIG_HOME); a failed start is told on the test's log, and the test finds no device.
std::unique_ptr<SimProcess> start_sim(const QStringList &arguments);

} // namespace quvex::test
