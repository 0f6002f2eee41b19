#pragma once

#include <QObject>

class QListWidget;

namespace quvex::app {

// Tells when the operator makes a line of the adjustment list current, by key (arrows, Page
// Up/Down, Home/End) or by mouse (a click, or a press dragged to another line), once per
// gesture: a mouse gesture chooses on release. Heading lines are passed over in the direction
// of travel. Changes the panel makes itself come with the list's signals blocked and choose
// nothing.
class ListChoice final : public QObject
{
    Q_OBJECT

public:
    explicit ListChoice(QListWidget &list);

Q_SIGNALS:
    void chosen(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void current_changed(int row);
    bool is_heading(int row) const;

    QListWidget &m_list;
    int m_row = -1; // the current line before the change the list reports
    int m_row_at_press = -1;
    bool m_pressed = false;
};

} // namespace quvex::app
