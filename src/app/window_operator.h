#pragma once

#include "link/operator_side.h"
#include "window_hooks.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QMainWindow;

namespace quvex::app {

// The operator's side of the link on the window: messages through the window's hooks, hints
// on the status line until the next operation, and the window locked while the core talks to
// the unit. Once the program is stopping no box waits for a person: messages go to standard
// error.
class WindowOperator final : public link::OperatorSide
{
public:
    WindowOperator(QMainWindow &window, QLineEdit &port_box, QLabel &hint, const WindowHooks &hooks);

    void show_message(const QString &text, const QString &title = {}, link::MessageIcon icon = link::MessageIcon::None,
                      const QString &detail = {}) override;
    void show_hint(const QString &text) override;
    void set_window_enabled(bool enabled) override;
    void set_port_box_enabled(bool enabled) override;
    void process_events() override;

    // While the core has the window locked, what happens to the controls is its doing.
    bool is_busy() const { return m_busy; }
    // then runs in the event loop now, or once the operation in progress lets the window go.
    void stop(std::function<void()> then);

private:
    void keep_focus();
    void give_focus_back();

    QMainWindow &m_window;
    QLineEdit &m_port_box;
    QLabel &m_hint;
    const WindowHooks &m_hooks;
    bool m_busy = false;
    std::function<void()> m_after_stop; // set once the program is stopping
    // Locking disables the controls, which takes the keyboard focus away; it goes back to
    // where it was, with the text box's selection as it was, when the window unlocks.
    QPointer<QWidget> m_focus;
    int m_selection_start = -1;
    int m_selection_length = 0;
    bool m_all_selected = false;
};

} // namespace quvex::app
