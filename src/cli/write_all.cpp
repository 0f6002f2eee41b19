#include "write_all.h"

#include "backup/unit_name.h"
#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "command_line.h"
#include "command_session.h"
#include "link/answer_number.h"
#include "probe/port_probe.h"
#include "rack/unit_names.h"
#include "settings/settings_compare.h"
#include "settings/settings_file.h"
#include "text/visible_text.h"
#include "unit_reads.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace quvex::cli {

namespace {

void print_error(const QString &text)
{
    std::fputs((QStringLiteral("quvexctl: ") + text + u'\n').toLocal8Bit().constData(), stderr);
}

// What became of one port's unit.
struct UnitWrite
{
    bool counts = false; // a unit of the file's model
    int code = kExitSuccess;
    QString outcome;
    bool stopped = false; // outcome is then what a stopped write tells
    QString mode_left;
};

UnitWrite write_unit(const QString &device, const QString &path, const settings::SettingsContent &content,
                     const std::atomic<bool> &stopping)
{
    CommandSession session(0, device, false, true);
    session.unit.stop_when(stopping);
    UnitWrite result;
    const probe::ProbeResult found = probe::open_and_detect(session.unit);
    if (found.outcome == probe::ProbeOutcome::NotOpened) {
        result.outcome = found.reason;
        return result;
    }
    if (found.outcome != probe::ProbeOutcome::Found || found.model_index != content.model_index) {
        result.outcome = found.outcome == probe::ProbeOutcome::Found ? QStringLiteral("another model, left alone")
                                                                     : probe::probe_text(found);
    } else {
        result.counts = true;
        int begun = 0;
        settings::SettingsFile(session.catalogue, session.bracket, session.operator_side, session.panel, path)
            .load(content, &begun);
        const QList<settings::Difference> differences =
            settings::compare_settings(content.pairs, settings::stored_pairs(session.catalogue, session.model));
        const qsizetype items = content.pairs.size()
                                - settings::unknown_names(session.catalogue, content.model_index, content.pairs).size();
        result.code = kExitUnit;
        if (session.link.stop_requested()) {
            result.stopped = true;
            result.outcome = begun == 0 ? QStringLiteral("stopped before any of the %1 items was sent").arg(items)
                                        : QStringLiteral("stopped at item %1 of %2; the items after it were not sent")
                                              .arg(begun)
                                              .arg(items);
        } else if (session.operator_side.messages_shown() > 0) {
            // After a failed exchange the rest of the file was not sent: its read-backs say nothing.
            result.outcome = QStringLiteral("not written to the end");
        } else if (differences.isEmpty()) {
            result.code = items < content.pairs.size() ? kExitDifferent : kExitSuccess;
            result.outcome = QStringLiteral("written");
        } else {
            QStringList read_back;
            for (const settings::Difference &difference : differences)
                read_back.append(difference.name + u' ' + link::format_wire_number(difference.unit));
            result.code = kExitDifferent;
            result.outcome = QStringLiteral("written; read back otherwise: ") + read_back.join(QStringLiteral(", "));
        }
    }
    session.unit.tell_mode = [&result](const QString &left) { result.mode_left = left; };
    session.unit.end_run();
    session.link.close_port();
    return result;
}

} // namespace

int write_all(const QString &path, const settings::SettingsContent &content, const ports::SystemPorts &system_ports)
{
    const QList<ports::PortEntry> entries = ports::list_ports(system_ports());
    std::vector<UnitWrite> written(std::size_t(entries.size()));
    UnitReads units;
    units.run_each(entries.size(), [&](qsizetype i, const std::atomic<bool> &stopping) {
        written[std::size_t(i)] = write_unit(entries.at(i).device, path, content, stopping);
    });
    const rack::UnitNames names;
    const QString model = catalogue::unit_models().at(std::size_t(content.model_index)).code;
    int code = kExitSuccess;
    bool any = false;
    QByteArray text;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ports::PortEntry &entry = entries.at(i);
        const UnitWrite &unit = written.at(std::size_t(i));
        const QString port = entry.number ? QString::number(entry.number) : text::visible(entry.device);
        if (unit.counts) {
            any = true;
            code = std::max(code, unit.code);
        }
        // Stopped, a unit's line is a warning: the run did not do what was asked.
        if (unit.stopped)
            print_error(port + QStringLiteral(": ") + unit.outcome);
        if (!unit.mode_left.isEmpty())
            print_error(port + QStringLiteral(": ") + unit.mode_left);
        text +=
            (QStringList{port, text::visible(names.name(backup::unit_target(entry.device))), unit.outcome}.join(u'\t')
             + u'\n')
                .toUtf8();
    }
    if (units.stopped())
        return units.finish(kExitUnit);
    if (!any) {
        print_error(QStringLiteral("no %1 unit answered; nothing was written").arg(model));
        code = kExitUnit;
    }
    // The file is the same for every unit: its lines that name no item are told once.
    catalogue::Catalogue items;
    catalogue::build_catalogue(items);
    for (const QString &name : settings::unknown_names(items, content.model_index, content.pairs))
        print_error(QStringLiteral("%1 has no item \"%2\"; its line was not sent").arg(model, text::visible(name)));
    if (std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout) != std::size_t(text.size())
        || std::fflush(stdout) != 0) {
        print_error(QStringLiteral("cannot write to standard output"));
        code = kExitUsage;
    }
    return units.finish(code);
}

} // namespace quvex::cli
