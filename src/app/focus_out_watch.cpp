#include "focus_out_watch.h"

#include <QFocusEvent>

namespace quvex::app {

FocusOutWatch::FocusOutWatch(QObject *watched)
    : QObject(watched)
{
    watched->installEventFilter(this);
}

bool FocusOutWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            Q_EMIT left(reason);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quvex::app
