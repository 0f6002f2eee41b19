#pragma once

#include "ports/port_list.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QThread;

namespace quvex::session {
class UnitSession;
}

namespace quvex::probe {

enum class ProbeOutcome { Found, NoAnswer, NotQuvex, NotOpened, Cancelled };

// What one port gave when it was probed.
struct ProbeResult
{
    ports::PortEntry port;
    ProbeOutcome outcome = ProbeOutcome::Cancelled;
    int model_index = 0; // Found: the unit's model
    QString reason;      // NotOpened: why; Found: set when the panel itself has the port open
};

// The result in words: the model's code and name, "no answer", "answers, but not as a QUVEX
// unit", or why the port was not asked.
QString probe_text(const ProbeResult &result);

// Opens the session's port and asks the detection queries, leaving the port open when it opened:
// Found with the unit's model, NoAnswer, NotQuvex, or NotOpened with the port layer's reason. The
// result names no port entry; whoever asked knows which.
ProbeResult open_and_detect(session::UnitSession &unit);

// Opens the port, asks the detection queries and nothing else, and closes it again. Runs on the
// calling thread, handling its events until done; an interruption of that thread ends the wait
// for an answer or a connection at once, and the probe gives Cancelled.
ProbeResult probe_port(const ports::PortEntry &port);

// Probes ports at once, each on a thread of its own that builds its unit's session inside
// it, so a silent port costs its read time-out once, not once per port in turn. Results
// are delivered on the prober's own thread, in the order they come.
class PortProber final : public QObject
{
    Q_OBJECT

public:
    explicit PortProber(QObject *parent = nullptr);
    // Cancels what still runs and waits for it.
    ~PortProber() override;

    // open_device is the port the panel itself has open, with open_model: it is reported with
    // that model and not opened again.
    void start(const QList<ports::PortEntry> &entries, const QString &open_device = {}, int open_model = 0);
    // Ends every wait for an answer or a connection at once.
    void cancel();
    // Ends the probe of device alone, at once, and waits until it has closed the port, so that
    // the port can be opened by another owner this moment; the probe gives Cancelled.
    void let_go(const QString &device);
    // Until every probe has ended and closed its port; at once after cancel().
    void wait();
    bool is_running() const { return m_pending > 0; }

Q_SIGNALS:
    void probed(const quvex::probe::ProbeResult &result);
    void finished();

private:
    void deliver(const ProbeResult &result);

    std::vector<std::unique_ptr<QThread>> m_threads;
    std::vector<QString> m_devices; // each thread's device, canonical
    int m_pending = 0;
};

} // namespace quvex::probe
