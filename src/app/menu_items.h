#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace quvex::app {

// A caption is shown as it is; an ampersand in a path must not turn into an access key.
QString literal_caption(QString caption);
// A menu at the end of the bar, and an item at the end of a menu, found by their names.
QMenu *add_menu(QMenuBar &bar, const char *name, const QString &title);
QAction *add_item(QMenu &menu, const char *name, const QString &caption);

} // namespace quvex::app
