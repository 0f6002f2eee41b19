#include "ports_command.h"

#include "backup/unit_name.h"
#include "catalogue/unit_models.h"
#include "link/stop_signals.h"
#include "probe/port_probe.h"
#include "text/visible_text.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>

namespace quvex::cli {

namespace {

// Every port's result, in the order the ports are listed. A stop signal cancels the probes;
// once each has closed its port, and so given its lock back, the program ends by the signal.
QList<probe::ProbeResult> probe_all(const QList<ports::PortEntry> &entries)
{
    std::map<QString, probe::ProbeResult> by_device;
    probe::PortProber prober;
    link::StopSignals stop;
    stop.install([&prober] { prober.cancel(); },
                 [&prober] {
                     prober.cancel();
                     prober.wait();
                 });
    QEventLoop done;
    QObject::connect(&prober, &probe::PortProber::probed,
                     [&by_device](const probe::ProbeResult &result) { by_device[result.port.device] = result; });
    QObject::connect(&prober, &probe::PortProber::finished, &done, &QEventLoop::quit);
    prober.start(entries);
    done.exec();
    stop.finish(0);
    QList<probe::ProbeResult> results;
    for (const ports::PortEntry &entry : entries)
        results.append(by_device[entry.device]);
    return results;
}

// The model's code alone where one was found: the column a script reads.
QString result_column(const probe::ProbeResult &result)
{
    return result.outcome == probe::ProbeOutcome::Found
               ? catalogue::unit_models().at(std::size_t(result.model_index)).code
               : probe::probe_text(result);
}

} // namespace

QByteArray ports_report(const ports::SystemPorts &system_ports, bool probe, bool json, const rack::UnitNames &names)
{
    const QList<ports::PortEntry> entries = ports::list_ports(system_ports());
    const QList<probe::ProbeResult> results = probe ? probe_all(entries) : QList<probe::ProbeResult>();
    QJsonArray listed;
    QByteArray text;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ports::PortEntry &entry = entries.at(i);
        QJsonObject port{{QStringLiteral("number"), entry.number ? QJsonValue(entry.number) : QJsonValue()},
                         {QStringLiteral("device"), entry.device},
                         {QStringLiteral("description"), entry.description}};
        // A tab or a line end in a link's target or a device's description must not make a column or a row.
        QStringList columns{entry.number ? QString::number(entry.number) : QStringLiteral("-"),
                            text::visible(entry.device), text::visible(entry.description)};
        if (probe) {
            const probe::ProbeResult &result = results.at(i);
            const bool found = result.outcome == probe::ProbeOutcome::Found;
            port.insert(QStringLiteral("model"), found ? QJsonValue(result_column(result)) : QJsonValue());
            port.insert(QStringLiteral("result"), probe::probe_text(result));
            columns.append(result_column(result));
        }
        const QString name = names.name(backup::unit_target(entry.device));
        port.insert(QStringLiteral("name"), name.isEmpty() ? QJsonValue() : QJsonValue(name));
        columns.append(text::visible(name));
        listed.append(port);
        text += (columns.join(u'\t') + u'\n').toUtf8();
    }
    return json ? QJsonDocument(QJsonObject{{QStringLiteral("ports"), listed}}).toJson(QJsonDocument::Compact) + '\n'
                : text;
}

} // namespace quvex::cli
