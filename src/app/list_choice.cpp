#include "list_choice.h"

#include "panel/list_line.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace quvex::app {

ListChoice::ListChoice(QListWidget &list)
    : QObject(&list)
    , m_list(list)
{
    m_list.installEventFilter(this);
    m_list.viewport()->installEventFilter(this);
    connect(&m_list, &QListWidget::currentRowChanged, this, &ListChoice::current_changed);
}

bool ListChoice::is_heading(int row) const
{
    const QListWidgetItem *item = m_list.item(row);
    return !item || panel::is_header_line(item->text());
}

void ListChoice::current_changed(int row)
{
    const int from = std::exchange(m_row, row);
    if (m_pressed || row < 0)
        return;
    if (is_heading(row)) {
        const int step = row >= from ? 1 : -1;
        int next = row;
        while (next >= 0 && next < m_list.count() && is_heading(next))
            next += step;
        if (next < 0 || next >= m_list.count())
            next = from; // nothing to choose beyond the heading: stay
        const QSignalBlocker blocker(m_list);
        m_list.setCurrentRow(next);
        m_row = row = next;
    }
    if (row >= 0 && row != from)
        Q_EMIT chosen(row);
}

bool ListChoice::eventFilter(QObject *watched, QEvent *event)
{
    // The panel moves the highlight with the list's signals blocked: where a gesture starts
    // is read when it starts.
    if (event->type() == QEvent::KeyPress)
        m_row = m_list.currentRow();
    if (event->type() == QEvent::MouseButtonPress) {
        m_pressed = true;
        m_row_at_press = m_list.currentRow();
    } else if (event->type() == QEvent::MouseButtonRelease && m_pressed) {
        m_pressed = false;
        m_row = m_list.currentRow();
        const QPoint point = static_cast<QMouseEvent *>(event)->position().toPoint();
        // A click on a line chooses it, even the current one; a drag chooses where it ended.
        if (m_row >= 0 && !is_heading(m_row) && (m_list.itemAt(point) || m_row != m_row_at_press))
            Q_EMIT chosen(m_row);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quvex::app
