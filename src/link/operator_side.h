#pragma once

#include <QString>

namespace quvex::link {

enum class MessageIcon { None, Exclamation };

// What the core needs of the operator's side of the panel: modal messages, the window's
// enabled state and the event processing that keeps the window alive while the unit is awaited.
class OperatorSide
{
public:
    virtual ~OperatorSide() = default;

    // Modal, one OK button; an empty title means the application's title. The detail, when
    // there is one, stands under the text: what the operator can do about it.
    virtual void show_message(const QString &text, const QString &title = {}, MessageIcon icon = MessageIcon::None,
                              const QString &detail = {}) = 0;
    // What the wire itself suggests, beside the messages (which stay as they are): on a status
    // line until the next operation begins. A side with no place for it drops it.
    virtual void show_hint(const QString &) {}
    virtual void set_window_enabled(bool enabled) = 0;
    // The port number box may only be edited while the port is closed.
    virtual void set_port_box_enabled(bool enabled) = 0;
    // Handles pending events, blocking until at least one arrives (serial data or a timer
    // tick). Never returns without waiting when nothing is pending, so loops around it idle.
    virtual void process_events() = 0;
};

} // namespace quvex::link
