#pragma once

#include <QObject>

class QListWidget;

namespace quvex::app {

// Paints the adjustment list at a pace the eye follows and the processor hardly notices.
// A read all changes a line every 16 ms or so, and every line appended makes the list repaint
// all it shows: painted at most once in each span, and not at all for lines out of sight, each
// value still shows well within a tenth of a second of its answer.
class ListPaintPacer final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSpanMs = 40;

    explicit ListPaintPacer(QListWidget &list);

    // Call before changing line row, or appending it.
    void before_change(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool is_in_sight(int row) const;
    void release();

    QListWidget &m_list;
    bool m_held = false;
    bool m_seen_change = false;
};

} // namespace quvex::app
