#include "sim_process.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

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

std::unique_ptr<SimProcess> start_sim(const QStringList &arguments)
{
    auto sim = std::make_unique<SimProcess>(arguments);
    if (!sim->start())
        qWarning("%s", qPrintable(sim->error()));
    return sim;
}

} // namespace quvex::test
