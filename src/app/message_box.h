#pragma once

#include "link/operator_side.h"

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

namespace quvex::app {

inline const QString kApplicationTitle = QStringLiteral("QUVEX control panel");

// The core separates the lines of some messages with CR alone, which a message box would not
// break on.
QString message_display_text(const QString &text);

// The panel's modal message: one OK button, the application's title when none is given, the
// warning icon for an exclamation. Built apart from showing it so tests can examine it.
// Gives a window the panel asks from (a box, a dialog) the panel's colours, a title and the
// application's modality: a dialog is a window of its own and would take on none of them.
void dress_as_panel(QWidget &dialog, QWidget *parent, const QString &title = kApplicationTitle);

// The detail, when given, is the box's informative text under the message.
std::unique_ptr<QMessageBox> make_message_box(QWidget *parent, const QString &text, const QString &title,
                                              link::MessageIcon icon, const QString &detail = {});

} // namespace quvex::app
