// The probe on the real serial port, through pseudo-terminals whose far ends the test holds and
// reads: what each port is sent, and that silent ports are waited for at once, not in turn.
#include "probe/port_probe.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

using namespace quvex;
using namespace Qt::StringLiterals;

namespace {

// A pseudo-terminal whose far end never answers; it records what it is sent.
struct SilentPort
{
    SilentPort()
    {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            ::close(slave);
            fcntl(master, F_SETFL, O_NONBLOCK);
            device = QString::fromLocal8Bit(name);
        }
    }
    ~SilentPort() { ::close(master); }
    const QByteArray &heard()
    {
        char buffer[256];
        for (ssize_t count; (count = ::read(master, buffer, sizeof buffer)) > 0;)
            received.append(buffer, count);
        return received;
    }

    int master = -1;
    QString device;
    QByteArray received;
};

} // namespace

class TestPortProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each of four silent ports has been asked before any of them has given up: their waits
    // overlap. The panel's own open port is reported with its model and never opened; a network
    // port is asked over the network. Cancel then ends every wait for an answer at once.
    void ports_are_probed_at_once()
    {
        std::array<SilentPort, 5> lines;
        QList<ports::PortEntry> entries;
        for (SilentPort &line : lines)
            entries.append({int(entries.size()) + 1, line.device, {}, {}});
        entries.append({9, u"tcp://127.0.0.1:1"_s, {}, {}});
        probe::PortProber prober;
        QStringList results;
        connect(&prober, &probe::PortProber::probed, this, [&](const probe::ProbeResult &result) {
            results.append(u"%1 %2"_s.arg(result.port.number).arg(probe::probe_text(result)));
        });
        prober.start(entries, lines[4].device, 2);

        const auto all_asked = [&] {
            return std::all_of(lines.begin(), lines.begin() + 4,
                               [](SilentPort &line) { return line.heard() == "Genlock\r"; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(all_asked(), 5000);
        const QStringList own_and_network{u"5 QVM QUVEXview Max (open in this panel)"_s,
                                          u"9 tcp://127.0.0.1:1: connection refused"_s};
        // Their reports come queued from the probes' threads, and may follow the last port asked.
        QTRY_COMPARE_WITH_TIMEOUT(results, own_and_network, 500);
        prober.cancel();
        QTRY_VERIFY_WITH_TIMEOUT(!prober.is_running(), 5000);
        QStringList cancelled = results.mid(2);
        cancelled.sort();
        QCOMPARE(cancelled, QStringList({u"1 not asked"_s, u"2 not asked"_s, u"3 not asked"_s, u"4 not asked"_s}));
        QCOMPARE(lines[4].heard(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestPortProbe)
#include "tst_port_probe.moc"
