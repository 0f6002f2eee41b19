#include "list_paint_pacer.h"

#include <QEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

namespace quvex::app {

ListPaintPacer::ListPaintPacer(QListWidget &list)
    : QObject(&list)
    , m_list(list)
{
    m_list.viewport()->installEventFilter(this);
}

bool ListPaintPacer::eventFilter(QObject *, QEvent *event)
{
    // The window unlocks right after a read all's last lines, while painting is still held:
    // every line in sight changes its look then, and must not stay greyed out.
    if (event->type() == QEvent::EnabledChange)
        m_seen_change = true;
    return false;
}

bool ListPaintPacer::is_in_sight(int row) const
{
    // Asked without laying the list out again (indexAt() and visualItemRect() would): the list
    // scrolls by whole lines, all as high as the first.
    const int top = m_list.verticalScrollBar()->value();
    const int height = m_list.count() > 0 ? m_list.sizeHintForRow(0) : 0;
    return height <= 0 || (row >= top && row <= top + m_list.viewport()->height() / height);
}

void ListPaintPacer::before_change(int row)
{
    m_seen_change = m_seen_change || is_in_sight(row);
    if (m_held)
        return;
    m_held = true;
    m_list.viewport()->setUpdatesEnabled(false);
    // Every line appended moves the scroll bar's range, and it repaints for each.
    m_list.verticalScrollBar()->setUpdatesEnabled(false);
    QTimer::singleShot(kSpanMs, this, &ListPaintPacer::release);
}

void ListPaintPacer::release()
{
    QWidget &viewport = *m_list.viewport();
    if (std::exchange(m_seen_change, false)) {
        viewport.setUpdatesEnabled(true); // repaints what it shows
    } else {
        // Only lines out of sight changed: nothing shown needs painting again.
        viewport.setAttribute(Qt::WA_ForceUpdatesDisabled, false);
        viewport.setAttribute(Qt::WA_UpdatesDisabled, false);
    }
    m_list.verticalScrollBar()->setUpdatesEnabled(true);
    m_held = false;
}

} // namespace quvex::app
