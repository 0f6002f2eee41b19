#include "window_operator.h"

#include "message_box.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>

namespace quvex::app {

WindowOperator::WindowOperator(QMainWindow &window, QLineEdit &port_box, QLabel &hint, const WindowHooks &hooks)
    : m_window(window)
    , m_port_box(port_box)
    , m_hint(hint)
    , m_hooks(hooks)
{
}

void WindowOperator::show_message(const QString &text, const QString &title, link::MessageIcon icon,
                                  const QString &detail)
{
    if (!m_after_stop) {
        m_hooks.show_message(&m_window, text, title, icon, detail);
        return;
    }
    // A failed write changes nothing: the restore goes on whether anyone reads this or not.
    const QString line = QCoreApplication::applicationName() + QStringLiteral(": ") + message_display_text(text)
                         + (detail.isEmpty() ? QString() : u'\n' + detail) + u'\n';
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

void WindowOperator::stop(std::function<void()> then)
{
    m_after_stop = std::move(then);
    if (!m_busy)
        QTimer::singleShot(0, &m_window, m_after_stop);
}

void WindowOperator::show_hint(const QString &text)
{
    m_hint.setText(text);
}

void WindowOperator::set_window_enabled(bool enabled)
{
    m_busy = !enabled;
    if (!enabled) {
        keep_focus();
        m_hint.clear(); // it spoke of the operation before this one
    }
    // Only the contents: the window itself stays enabled so it can still be moved about.
    m_window.centralWidget()->setEnabled(enabled);
    m_window.menuBar()->setEnabled(enabled);
    if (enabled)
        give_focus_back();
    if (enabled && m_after_stop)
        QTimer::singleShot(0, &m_window, m_after_stop);
}

void WindowOperator::keep_focus()
{
    m_focus = m_window.focusWidget();
    const auto *box = qobject_cast<QLineEdit *>(m_focus.data());
    m_all_selected = box && box->hasSelectedText() && box->selectedText() == box->text();
    m_selection_start = box ? box->selectionStart() : -1;
    m_selection_length = box ? box->selectionLength() : 0;
}

void WindowOperator::give_focus_back()
{
    if (!m_focus || !m_focus->isEnabled() || !m_focus->isVisible())
        return;
    m_focus->setFocus(Qt::OtherFocusReason);
    auto *box = qobject_cast<QLineEdit *>(m_focus.data());
    // The operation may have put a new value in the box: a box that was all selected is.
    if (box && m_all_selected)
        box->selectAll();
    else if (box && m_selection_start >= 0)
        box->setSelection(m_selection_start, m_selection_length);
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
