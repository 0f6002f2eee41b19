#include "port_probe.h"

#include "catalogue/unit_models.h"
#include "detection.h"
#include "link/link.h"
#include "session/quiet_operator.h"
#include "session/quiet_view.h"
#include "session/unit_session.h"

#include <QThread>

namespace quvex::probe {

namespace {

// Whether the prober that runs this probe has given up on it. A probe run on a thread of the
// caller's own is never cancelled.
bool cancelled()
{
    return QThread::currentThread()->isInterruptionRequested();
}

} // namespace

QString probe_text(const ProbeResult &result)
{
    switch (result.outcome) {
    case ProbeOutcome::Found: {
        const catalogue::UnitModel &model = catalogue::unit_models().at(std::size_t(result.model_index));
        return model.code + u' ' + model.display_name + (result.reason.isEmpty() ? QString() : u' ' + result.reason);
    }
    case ProbeOutcome::NoAnswer:
        return QStringLiteral("no answer");
    case ProbeOutcome::NotQuvex:
        return QStringLiteral("answers, but not as a QUVEX unit");
    case ProbeOutcome::NotOpened:
        return result.reason;
    case ProbeOutcome::Cancelled:
        break;
    }
    return QStringLiteral("not asked");
}

ProbeResult open_and_detect(session::UnitSession &unit)
{
    unit.link.open_port();
    if (!unit.link.is_port_open())
        return {{}, ProbeOutcome::NotOpened, 0, unit.port.open_failure()};
    const Detection detection = detect_model(unit.link);
    return {{},
            !detection.answered          ? ProbeOutcome::NoAnswer
            : detection.model_index == 0 ? ProbeOutcome::NotQuvex
                                         : ProbeOutcome::Found,
            detection.model_index,
            {}};
}

ProbeResult probe_port(const ports::PortEntry &port)
{
    if (cancelled())
        return {port, ProbeOutcome::Cancelled, 0, {}};
    session::QuietOperator quiet;
    session::QuietView view;
    session::UnitSession unit(quiet, view);
    unit.use_port(0, port.device);
    quiet.m_link = &unit.link;

    ProbeResult result = open_and_detect(unit);
    result.port = port;
    unit.link.close_port();
    if (cancelled() && result.outcome != ProbeOutcome::NotOpened)
        return {port, ProbeOutcome::Cancelled, 0, {}};
    return result;
}

PortProber::PortProber(QObject *parent)
    : QObject(parent)
{
}

PortProber::~PortProber()
{
    cancel();
    wait();
}

void PortProber::start(const QList<ports::PortEntry> &entries, const QString &open_device, int open_model)
{
    m_pending += static_cast<int>(entries.size());
    const QString open = open_device.isEmpty() ? QString() : ports::canonical_device(open_device);
    for (const ports::PortEntry &port : entries) {
        if (!open.isEmpty() && ports::canonical_device(port.device) == open) {
            // One owner per port: the panel's own line is never opened a second time.
            const ProbeResult own{port, ProbeOutcome::Found, open_model, QStringLiteral("(open in this panel)")};
            QMetaObject::invokeMethod(
                this, [this, own] { deliver(own); }, Qt::QueuedConnection);
            continue;
        }
        m_threads.emplace_back(QThread::create([this, port] {
            const ProbeResult result = probe_port(port);
            QMetaObject::invokeMethod(
                this, [this, result] { deliver(result); }, Qt::QueuedConnection);
        }));
        m_threads.back()->start();
        m_devices.push_back(ports::canonical_device(port.device));
    }
    if (entries.isEmpty())
        QMetaObject::invokeMethod(this, &PortProber::finished, Qt::QueuedConnection);
}

void PortProber::cancel()
{
    // Each probe, and a network port's connect, looks out for this.
    for (const std::unique_ptr<QThread> &thread : m_threads)
        thread->requestInterruption();
}

void PortProber::let_go(const QString &device)
{
    const QString canonical = ports::canonical_device(device);
    for (std::size_t i = 0; i < m_threads.size(); ++i) {
        if (m_devices.at(i) == canonical) {
            m_threads.at(i)->requestInterruption();
            m_threads.at(i)->wait();
        }
    }
}

void PortProber::wait()
{
    for (const std::unique_ptr<QThread> &thread : m_threads)
        thread->wait();
}

void PortProber::deliver(const ProbeResult &result)
{
    --m_pending;
    Q_EMIT probed(result);
    if (m_pending == 0)
        Q_EMIT finished();
}

} // namespace quvex::probe
