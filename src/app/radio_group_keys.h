#pragma once

#include <QObject>

class QAbstractButton;
class QButtonGroup;

namespace quvex::app {

// Keyboard for a group of option buttons whose every choice goes to the unit (the unit type
// opens the port and reads the whole unit; an option is sent at once): the arrow keys only
// move the focus within the group, and Space chooses. The group is one stop in the Tab order,
// entered at its checked button, or at its first shown one when none is checked.
class RadioGroupKeys final : public QObject
{
    Q_OBJECT

public:
    explicit RadioGroupKeys(QButtonGroup &group);

    // Gives the Tab stop to the checked button again; the view checks buttons with signals blocked.
    void update_tab_stop();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void move_focus(QAbstractButton *from, int step);

    QButtonGroup &m_group;
};

} // namespace quvex::app
