#include "window_operator.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

namespace quvex::app {

WindowOperator::WindowOperator(QMainWindow &window, QLineEdit &port_box, const WindowHooks &hooks)
    : m_window(window)
    , m_port_box(port_box)
    , m_hooks(hooks)
{
}

void WindowOperator::show_message(const QString &text, const QString &title, link::MessageIcon icon)
{
    m_hooks.show_message(&m_window, text, title, icon);
}

void WindowOperator::set_window_enabled(bool enabled)
{
    m_busy = !enabled;
    // Only the contents: the window itself stays enabled so it can still be moved about.
    m_window.centralWidget()->setEnabled(enabled);
    m_window.menuBar()->setEnabled(enabled);
}

void WindowOperator::set_port_box_enabled(bool enabled)
{
    m_port_box.setEnabled(enabled);
}

void WindowOperator::process_events()
{
    m_hooks.process_events();
}

} // namespace quvex::app
