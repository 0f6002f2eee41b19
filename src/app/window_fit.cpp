#include "window_fit.h"

#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace quvex::app {

void fit_to_screen(QMainWindow &window)
{
    // The window system's title bar and borders are not known before the window is shown; the
    // style's own measures of them stand in.
    const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    const QSize room = window.screen()->availableGeometry().size() - QSize(2 * border, title + 2 * border);
    const QSize needed = window.sizeHint();
    if (needed.width() <= room.width() && needed.height() <= room.height()) {
        window.resize(needed);
        return;
    }
    // The controls keep their places and sizes at this scale, and so must scroll to be reached.
    // Locking the window still disables everything in it through the central widget.
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("form_scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true); // the list still takes up what room there is
    scroll->setWidget(window.takeCentralWidget());
    window.setCentralWidget(scroll);
    const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    const QSize bars(needed.height() > room.height() ? bar : 0, needed.width() > room.width() ? bar : 0);
    window.resize((needed + bars).boundedTo(room));
}

} // namespace quvex::app
