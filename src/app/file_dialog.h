#pragma once

#include <QString>

class QWidget;

namespace quvex::app {

enum class FileDialogMode { Open, Save };

// Lets the operator choose a settings file (*.cfg) in a modal dialog that starts in folder:
// an existing file to open, or any name to save to (".cfg" added when none is typed; an existing
// file is replaced only after the operator confirms). The path chosen, or empty for Cancel.
QString choose_settings_file(QWidget *parent, const QString &caption, const QString &folder, FileDialogMode mode);

} // namespace quvex::app
