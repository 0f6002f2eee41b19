#pragma once

#include "panel/operation.h"
#include "settings/settings_compare.h"
#include "settings/settings_content.h"

#include <QList>
#include <QString>

#include <atomic>

namespace quvex::backup {
class BackupStore;
}

namespace quvex::rack {

enum class TaskKind { BackUp, FindChanges, SendChanges, LoadFile };

// What one unit of a run is to do, on the line it is on.
struct UnitTask
{
    TaskKind kind = TaskKind::BackUp;
    QString device;
    QString target;
    QList<settings::Difference> to_send; // SendChanges: the backup's values to give back
    settings::SettingsContent content;   // LoadFile
};

enum class TaskOutcome { Done, NotOpened, NoAnswer, NotQuvex, OtherModel, NoBackup, NotToEnd, Stopped, Failed };

// What one unit gave. A unit that answered has its model; one whose port would not open has the
// port layer's reason.
struct TaskResult
{
    TaskOutcome outcome = TaskOutcome::Stopped;
    int model_index = 0;
    QString reason; // NotOpened: the port layer's words; Failed: what could not be done
    // BackUp: the new version against the one before; FindChanges: the unit against its newest
    // backup (file: the backup's value); SendChanges and LoadFile: what was sent.
    QList<settings::Difference> differences;
    bool new_version = false; // BackUp
    QString last_backup;      // BackUp: the time of the newest version now
    QString mode_left;        // the video mode the unit may be left in, when it could not be put back
    bool fell_silent = false; // NotToEnd: the unit stopped answering (or its adapter went) on the way
};

// Runs the task in a quiet session of its own, built on the calling thread: opens the port, finds
// the unit's model, does the work and closes the port. stopping ends it at the next exchange, and
// the unit gets its own video mode back. progress is the panel's hook, called on this thread.
TaskResult run_unit_task(const UnitTask &task, backup::BackupStore &store, const std::atomic<bool> &stopping,
                         const panel::ProgressHook &progress);

} // namespace quvex::rack
