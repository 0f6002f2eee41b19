#include "sim_process.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

#include <csignal>
#include <unistd.h>

namespace quvex::test {

bool SimProcess::start(int timeout_ms)
{
    const QString program = qEnvironmentVariable("QUVEX_SIM");
    if (program.isEmpty()) {
        m_error = QStringLiteral("QUVEX_SIM is not set");
        return false;
    }
    m_process.start(program, m_arguments);
    return await_device(timeout_ms);
}

bool SimProcess::await_device(int timeout_ms)
{
    const QDeadlineTimer deadline(timeout_ms);
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            m_error = QStringLiteral("%1 did not announce its device: %2 %3")
                          .arg(m_process.program(), m_process.errorString(),
                               QString::fromLocal8Bit(m_process.readAllStandardError()));
            return false;
        }
    }
    static const QRegularExpression kAnnounce(QStringLiteral("^quvex-sim: \\S+ on (\\S+)$"));
    const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    const QRegularExpressionMatch match = kAnnounce.match(line);
    if (!match.hasMatch())
        m_error = QStringLiteral("unexpected announce line: ") + line;
    else
        m_device_path = match.captured(1);
    return match.hasMatch();
}

int SimProcess::stop(int timeout_ms)
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(timeout_ms)) {
            m_process.kill();
            m_process.waitForFinished(timeout_ms);
            return -1;
        }
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QStringList SimProcess::heard(int settle_ms)
{
    if (settle_ms > 0) {
        m_process.setReadChannel(QProcess::StandardError);
        m_process.waitForReadyRead(settle_ms);
        m_process.setReadChannel(QProcess::StandardOutput);
    }
    static const QRegularExpression kReceived(QStringLiteral(" rx (.*)$"), QRegularExpression::MultilineOption);
    for (auto it = kReceived.globalMatch(QString::fromLatin1(m_process.readAllStandardError())); it.hasNext();)
        m_heard.append(it.next().captured(1));
    return m_heard;
}

int SimProcess::await_heard(const QString &line, int timeout_ms)
{
    const QDeadlineTimer deadline(timeout_ms);
    m_process.setReadChannel(QProcess::StandardError);
    int found = -1;
    for (;;) {
        const QStringList lines = heard();
        for (; m_awaited < lines.size() && found < 0; ++m_awaited) {
            if (line.isEmpty() || lines.at(m_awaited) == line)
                found = m_awaited;
        }
        if (found >= 0 || !m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
    }
    m_process.setReadChannel(QProcess::StandardOutput);
    return found;
}

void start_child(QProcess &child, const QString &program, const QStringList &arguments, bool error_output_gone)
{
    child.setChildProcessModifier([error_output_gone] {
        for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            std::signal(number, SIG_DFL);
        int ends[2];
        if (error_output_gone && ::pipe(ends) == 0) {
            ::close(ends[0]);
            ::dup2(ends[1], STDERR_FILENO);
            ::close(ends[1]);
        }
    });
    child.start(program, arguments);
}

int send_signals(QProcess &child, SimProcess &sim, const QStringList &plan)
{
    static const QMap<QString, int> kSignals{{"INT", SIGINT}, {"TERM", SIGTERM}, {"HUP", SIGHUP}};
    int first = -1;
    for (const QString &step : plan) {
        const QString moment = step.section(u' ', 1);
        int at = -1;
        if (moment == QLatin1String("box")) {
            bool shown = false;
            while (!shown && (child.canReadLine() || child.waitForReadyRead(10000)))
                shown = child.canReadLine() && child.readLine().startsWith("box: ");
            at = shown ? int(sim.heard(100).size()) - 1 : -1;
        } else {
            // A moment may come after a whole unit has been read at a slow pace.
            at = sim.await_heard(moment == QLatin1String("+") ? QString() : moment, 20000);
        }
        if (at < 0)
            return -1;
        if (first < 0)
            first = at;
        ::kill(child.processId(), kSignals.value(step.section(u' ', 0, 0)));
    }
    return first;
}

QString how_ended(const QProcess &child)
{
    static const QMap<int, QString> kNames{{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
    if (child.exitStatus() == QProcess::NormalExit)
        return QStringLiteral("exit %1").arg(child.exitCode());
    return kNames.value(child.exitCode(), QStringLiteral("signal %1").arg(child.exitCode()));
}

std::unique_ptr<SimProcess> start_sim(const QStringList &arguments)
{
    auto sim = std::make_unique<SimProcess>(arguments);
    if (!sim->start())
        qWarning("%s", qPrintable(sim->error()));
    return sim;
}

} // namespace quvex::test
