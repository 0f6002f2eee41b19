#pragma once

#include <QString>
#include <QStringList>

namespace quvex::ports {

// The folders QSerialPort looks in for its lock files, in its order.
QStringList serial_lock_folders();

// The lock file QSerialPort takes for device, found as it finds it: in the first folder that
// is readable and holds the file already or may be written. Empty when there is none.
QString serial_lock_path(const QString &device, const QStringList &folders = serial_lock_folders());

// Why device would not open, in words a user can act on. The serial layer reports a forbidden
// device, another program's lock and an exclusive holder all alike, so the reason comes from
// checks of its own; system_text, the serial layer's words, is used when they find nothing.
QString open_failure_reason(const QString &device, const QString &system_text,
                            const QStringList &lock_folders = serial_lock_folders());

} // namespace quvex::ports
