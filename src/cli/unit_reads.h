#pragma once

#include "link/stop_signals.h"
#include "settings/settings_content.h"

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

namespace quvex::cli {

// One unit to read: the line to open and whether every item is wanted or only its model.
struct UnitJob
{
    QString device;
    bool read_items = true;
};

enum class ReadOutcome { Read, NotOpened, NoAnswer, NotQuvex, NotReadToEnd, Stopped };

// What one unit gave.
struct UnitReading
{
    ReadOutcome outcome = ReadOutcome::Stopped;
    int model_index = 0;                 // Read: its model
    QList<settings::SettingsPair> pairs; // Read, when its items were wanted: every value, as a save lists them
    QString reason;                      // NotOpened: why, in the port layer's words
    QString mode_left;                   // the video mode the unit may be left in, when it could not be put back
};

// The outcome in words, as a line of a report gives it: "no answer", "answers, but not as a
// QUVEX unit", why the port did not open, "not read to the end" or "stopped".
QString reading_text(const UnitReading &reading);

// Reads units at once, each in a quiet session of its own on a thread of its own that builds the
// session inside it, as the prober runs its ports: a silent unit costs its time-out once, not
// once per unit. A stop signal reaches every session before its next exchange, and each gives its
// unit its own video mode back before it ends; finish() then ends the program by that signal.
class UnitReads
{
public:
    UnitReads();
    UnitReads(const UnitReads &) = delete;
    UnitReads &operator=(const UnitReads &) = delete;

    // traced: the wire log on standard error (for one unit: the lines of several would mix).
    QList<UnitReading> run(const QList<UnitJob> &jobs, bool traced = false);
    // work(i, stopping) for i from 0 to count - 1, each on a thread of its own, all at once; its
    // session asks stopping before each exchange (UnitSession::stop_when).
    void run_each(qsizetype count, const std::function<void(qsizetype, const std::atomic<bool> &)> &work);
    bool stopped() const { return m_stopping; }
    int finish(int code) const { return m_stop.finish(code); }

private:
    link::StopSignals m_stop;
    std::atomic<bool> m_stopping = false;
};

} // namespace quvex::cli
