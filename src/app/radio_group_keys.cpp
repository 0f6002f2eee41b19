#include "radio_group_keys.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>

namespace quvex::app {

RadioGroupKeys::RadioGroupKeys(QButtonGroup &group)
    : QObject(&group)
    , m_group(group)
{
    for (QAbstractButton *button : m_group.buttons()) {
        button->installEventFilter(this);
        connect(button, &QAbstractButton::toggled, this, &RadioGroupKeys::update_tab_stop);
    }
    update_tab_stop();
}

void RadioGroupKeys::update_tab_stop()
{
    QAbstractButton *stop = m_group.checkedButton();
    const QList<QAbstractButton *> buttons = m_group.buttons();
    if (!stop || stop->isHidden()) {
        stop = nullptr;
        for (QAbstractButton *button : buttons) {
            if (!button->isHidden()) {
                stop = button;
                break;
            }
        }
    }
    for (QAbstractButton *button : buttons)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

bool RadioGroupKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        update_tab_stop();
    } else if (event->type() == QEvent::KeyPress) {
        auto *button = static_cast<QAbstractButton *>(watched);
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            move_focus(button, -1);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Right:
            move_focus(button, +1);
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void RadioGroupKeys::move_focus(QAbstractButton *from, int step)
{
    const QList<QAbstractButton *> buttons = m_group.buttons();
    const qsizetype count = buttons.size();
    qsizetype at = buttons.indexOf(from);
    for (qsizetype tried = 1; tried < count; ++tried) {
        at = (at + step + count) % count;
        if (buttons[at]->isVisible() && buttons[at]->isEnabled()) {
            buttons[at]->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace quvex::app
