#include "unit_reads.h"

#include "command_session.h"
#include "probe/port_probe.h"
#include "settings/settings_file.h"

#include <QEventLoop>
#include <QThread>

#include <memory>
#include <vector>

namespace quvex::cli {

namespace {

UnitReading read_unit(const UnitJob &job, bool traced, const std::atomic<bool> &stopping)
{
    CommandSession session(0, job.device, traced, true);
    session.unit.stop_when(stopping);
    UnitReading reading;
    const probe::ProbeResult found = probe::open_and_detect(session.unit);
    if (found.outcome == probe::ProbeOutcome::NotOpened)
        return {ReadOutcome::NotOpened, 0, {}, found.reason, {}};
    reading.model_index = found.model_index;
    reading.outcome = found.outcome == probe::ProbeOutcome::NoAnswer   ? ReadOutcome::NoAnswer
                      : found.outcome == probe::ProbeOutcome::NotQuvex ? ReadOutcome::NotQuvex
                                                                       : ReadOutcome::Read;
    if (reading.outcome == ReadOutcome::Read && job.read_items) {
        session.model.select(found.model_index);
        const std::optional<QList<settings::SettingsPair>> pairs =
            settings::read_unit_pairs(session.catalogue, session.bracket, session.panel, QStringLiteral("Reading"));
        if (pairs)
            reading.pairs = *pairs;
        else
            reading.outcome = ReadOutcome::NotReadToEnd;
    }
    // What was read while a stop came is not what was asked for.
    if (session.link.stop_requested())
        reading.outcome = ReadOutcome::Stopped;
    session.unit.tell_mode = [&reading](const QString &left) { reading.mode_left = left; };
    session.unit.end_run();
    session.link.close_port();
    return reading;
}

} // namespace

QString reading_text(const UnitReading &reading)
{
    switch (reading.outcome) {
    case ReadOutcome::NotOpened:
        return reading.reason;
    case ReadOutcome::NoAnswer:
        return QStringLiteral("no answer");
    case ReadOutcome::NotQuvex:
        return QStringLiteral("answers, but not as a QUVEX unit");
    case ReadOutcome::NotReadToEnd:
        return QStringLiteral("not read to the end");
    case ReadOutcome::Read:
    case ReadOutcome::Stopped:
        break;
    }
    return QStringLiteral("stopped");
}

UnitReads::UnitReads()
{
    m_stop.install([this] { m_stopping = true; }, [] {});
}

QList<UnitReading> UnitReads::run(const QList<UnitJob> &jobs, bool traced)
{
    std::vector<UnitReading> readings(std::size_t(jobs.size()));
    // Each thread fills its own element; the list is read only once every thread is done.
    run_each(jobs.size(), [&readings, &jobs, traced](qsizetype i, const std::atomic<bool> &stopping) {
        readings[std::size_t(i)] = read_unit(jobs.at(i), traced, stopping);
    });
    return QList<UnitReading>(readings.begin(), readings.end());
}

void UnitReads::run_each(qsizetype count, const std::function<void(qsizetype, const std::atomic<bool> &)> &work)
{
    std::vector<std::unique_ptr<QThread>> threads;
    QEventLoop done;
    qsizetype running = count;
    for (qsizetype i = 0; i < count; ++i) {
        threads.emplace_back(QThread::create([this, &work, i] { work(i, m_stopping); }));
        QObject::connect(threads.back().get(), &QThread::finished, &done, [&running, &done] {
            if (--running == 0)
                done.quit();
        });
        threads.back()->start();
    }
    // The loop also takes the stop signals' notifier.
    if (running > 0)
        done.exec();
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->wait();
}

} // namespace quvex::cli
