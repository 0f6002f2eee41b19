#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quvex::settings {

// The settings file is a plain file and nothing else: a path that names a FIFO, a device, a
// socket or a folder (directly or through links) is neither read nor replaced. A FIFO must
// not freeze the window, and a device must not be read without end or replaced by a file.

// The file's bytes, at most limit + 1 of them, so that the caller can tell a file that is too
// large whatever size it reports; nothing when it cannot be opened or is no regular file.
std::optional<QByteArray> read_regular_file(const QString &path, qint64 limit);

// Whether a save may put a file at path: nothing is there yet, or a regular file is.
bool may_replace(const QString &path);

} // namespace quvex::settings
