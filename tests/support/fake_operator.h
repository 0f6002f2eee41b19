#pragma once

#include "link/operator_side.h"

#include <QList>
#include <QString>

#include <functional>

namespace quvex::test {

// The operator's side in tests: records every message box instead of showing it, records the
// window's enabled state, and processes events by running one step of the fake unit.
class FakeOperator final : public link::OperatorSide
{
public:
    struct Message
    {
        QString text;
        QString title;
        link::MessageIcon icon;
    };

    void show_message(const QString &text, const QString &title, link::MessageIcon icon) override;
    void set_window_enabled(bool enabled) override;
    void set_port_box_enabled(bool enabled) override { port_box_enabled = enabled; }
    void process_events() override;

    QStringList message_texts() const;

    QList<Message> messages;
    bool window_enabled = true;
    QList<bool> window_changes;
    bool port_box_enabled = true;
    int events_processed = 0;
    std::function<void()> on_process_events;
    std::function<void(const QString &)> on_message;
};

} // namespace quvex::test
