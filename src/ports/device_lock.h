#pragma once

#include "open_failure.h"

#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <optional>

namespace quvex::ports {

// What a serial lock file says of its owner.
struct LockOwner
{
    qint64 pid = 0;
    QString program; // empty where the format names none
    QString host;    // Qt's format only; empty: this machine
    // Qt's format: its owner keeps an advisory lock on the file while it holds the device, so a
    // process number used again since does not pass for the owner.
    bool guarded = false;
};

// Reads a serial lock file in any format that serial programs write: Qt's (process, program and
// host on lines of their own), UUCP's (the process right-aligned in ten characters, or as the 4
// bytes of an int in very old ones) and minicom's (process, program and user on one line).
// Nothing when there is no file or it is in none of these formats.
std::optional<LockOwner> read_lock_file(const QString &path);

// Who holds device, whatever name it goes by, while that process runs: by a lock file under its
// canonical name in one of folders, or by an advisory lock (flock) on the device itself. In words:
// "minicom (process 1234)", or "process 1234" where nothing names the program; empty: nobody.
QString device_holder(const QString &device, const QStringList &folders = serial_lock_folders());

// Removes the lock file for device's canonical name in the folder QSerialPort uses when its
// process is gone: QSerialPort understands only its own format, and would refuse or remove the
// others without knowing whether their owner lives.
void clear_stale_lock(const QString &device, const QStringList &folders = serial_lock_folders());

// Takes the advisory lock that other serial programs honour on the open port's device, held until
// the port is closed; false when another program holds it already.
bool lock_open_device(QSerialPort &port);

} // namespace quvex::ports
