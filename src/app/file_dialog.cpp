#include "file_dialog.h"

#include "message_box.h"

#include <QFileDialog>

namespace quvex::app {

QString choose_settings_file(QWidget *parent, const QString &caption, const QString &folder, FileDialogMode mode)
{
    QFileDialog dialog(parent, caption, folder, QStringLiteral("QUVEX settings files (*.cfg)"));
    dress_as_panel(dialog, parent, caption);
    // Qt's own dialog rather than the desktop's: it is the same on every desktop and the one the
    // tests drive with keys, and it takes the panel's colours.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (mode == FileDialogMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("cfg"));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace quvex::app
