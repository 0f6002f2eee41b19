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
    // Waits until the simulator hears line, or any line when it is empty, after the lines that
    // earlier waits found; gives its index in heard(), or -1 when it did not come in time.
    int await_heard(const QString &line, int timeout_ms);

private:
    QStringList m_arguments;
    QProcess m_process;
    QString m_device_path;
    QString m_error;
    QStringList m_heard;
    int m_awaited = 0;
};

// A simulator started with these arguments, in this process's environment (so with its
// XDG_CONFIG_HOME); a failed start is told on the test's log, and the test finds no device.
std::unique_ptr<SimProcess> start_sim(const QStringList &arguments);

// Starts a child whose stop signals have their default action whatever this process inherited (a
// background job ignores SIGINT, nohup SIGHUP), so that the child can catch them. With
// error_output_gone its standard error is a pipe that nobody reads any more, as when the ssh
// session it wrote to has dropped.
void start_child(QProcess &child, const QString &program, const QStringList &arguments, bool error_output_gone = false);

// Sends signals to child as plan says, step by step, each "<INT|TERM|HUP> <moment>": the moment
// is a line that the simulator (with --trace) hears, "+" for the next line it hears, or "box" for
// a line "box: ..." on the child's standard output. Gives the index in sim.heard() of the first
// step's line (of the line heard last before a box), or -1 when a moment did not come.
int send_signals(QProcess &child, SimProcess &sim, const QStringList &plan);

// How a child ended: "exit N", or the name of the signal that ended it ("SIGTERM").
QString how_ended(const QProcess &child);

} // namespace quvex::test
