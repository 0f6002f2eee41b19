#include "list_paint_pacer.h"

#include <QListWidget>
#include <QTimer>

namespace quvex::app {

ListPaintPacer::ListPaintPacer(QListWidget &list)
    : QObject(&list)
    , m_list(list)
{
}

bool ListPaintPacer::is_in_sight(int row) const
{
    const int top = std::max(0, m_list.indexAt(QPoint(0, 0)).row());
    // Every line is as high as the first (uniform sizes); before there is one, all is in sight.
    const int height = m_list.count() > 0 ? m_list.visualItemRect(m_list.item(0)).height() : 0;
    return height <= 0 || (row >= top && row <= top + m_list.viewport()->height() / height);
}

void ListPaintPacer::before_change(int row)
{
    m_seen_change = m_seen_change || is_in_sight(row);
    if (m_held)
        return;
    m_held = true;
    m_list.viewport()->setUpdatesEnabled(false);
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
    m_held = false;
}

} // namespace quvex::app
