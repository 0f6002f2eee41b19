#include "panel.h"

#include <QScopeGuard>

namespace quvex::panel {

QList<ItemChange> Panel::take_back(const QList<ItemChange> &items, bool undo)
{
    if (m_changes.refuse())
        return items;
    QList<ItemChange> left = items;
    {
        const Operation operation = begin_operation();
        m_history.set_suspended(true);
        const auto resume = qScopeGuard([this] { m_history.set_suspended(false); });
        while (!left.isEmpty()) {
            const ItemChange &change = undo ? left.constLast() : left.constFirst();
            set_named_item(change.name, undo ? change.before : change.after);
            // Each item is its own operation, which starts with clear flags: these are its own.
            if (operation.failed())
                break;
            undo ? left.removeLast() : left.removeFirst();
        }
    }
    if (!left.isEmpty()) {
        QStringList names;
        for (const ItemChange &change : left)
            names.append(change.name.trimmed());
        m_operator.show_message((undo ? QStringLiteral("Not undone: ") : QStringLiteral("Not redone: "))
                                + names.join(QStringLiteral(", ")));
    }
    return left;
}

} // namespace quvex::panel
