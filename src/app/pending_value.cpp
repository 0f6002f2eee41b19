#include "pending_value.h"

#include "focus_out_watch.h"
#include "window_operator.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include <utility>

namespace quvex::app {

PendingValue::PendingValue(QLineEdit &box, const WindowOperator &window_operator, std::function<void()> send)
    : m_box(box)
    , m_operator(window_operator)
    , m_send(std::move(send))
    , m_watch(new FocusOutWatch(&box))
{
    connect(m_watch, &FocusOutWatch::left, this, &PendingValue::left);
}

PendingValue::~PendingValue()
{
    delete m_watch;
}

void PendingValue::left(Qt::FocusReason reason)
{
    // Focus that goes while the core has the window locked was taken by the core; a box left
    // as the panel filled it has nothing to send (a walk with Tab must not talk to the unit).
    if (m_operator.is_busy() || !m_box.isModified())
        return;
    // Sent at once, the value would lock the window between the press and the release of the
    // click that took the focus, and that click would be lost. It goes with the click instead,
    // or when the button is released elsewhere.
    if (reason == Qt::MouseFocusReason) {
        m_pending = true;
        QCoreApplication::instance()->installEventFilter(this);
        return;
    }
    m_send();
}

void PendingValue::commit()
{
    if (!std::exchange(m_pending, false))
        return;
    QCoreApplication::instance()->removeEventFilter(this);
    m_send();
}

bool PendingValue::eventFilter(QObject *watched, QEvent *event)
{
    // After the release has been delivered: a click it made has sent the value already.
    if (event->type() == QEvent::MouseButtonRelease && m_pending)
        QTimer::singleShot(0, this, &PendingValue::commit);
    return QObject::eventFilter(watched, event);
}

} // namespace quvex::app
