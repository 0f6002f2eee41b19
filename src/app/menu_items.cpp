#include "menu_items.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace quvex::app {

QString literal_caption(QString caption)
{
    return caption.replace(u'&', QStringLiteral("&&"));
}

QMenu *add_menu(QMenuBar &bar, const char *name, const QString &title)
{
    QMenu *menu = bar.addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction *add_item(QMenu &menu, const char *name, const QString &caption)
{
    QAction *action = menu.addAction(literal_caption(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace quvex::app
