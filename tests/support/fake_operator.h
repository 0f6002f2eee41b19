#pragma once

#include "link/operator_side.h"

#include <QStringList>

#include <functional>

namespace quvex::test {

// The operator's side in tests: records every message box instead of showing it, every hint and
// every change of the window's enabled state; processing events is whatever the rig puts in on_process_events.
class FakeOperator final : public link::OperatorSide
{
public:
    struct Message
    {
        QString text;
        QString title;
        link::MessageIcon icon;
        QString detail;
    };

    void show_message(const QString &text, const QString &title, link::MessageIcon icon, const QString &detail) override
    {
        messages.append({text, title, icon, detail});
        if (on_message)
            on_message(text);
    }
    void show_hint(const QString &text) override { hints.append(text); }
    void set_window_enabled(bool enabled) override { window_changes.append(window_enabled = enabled); }
    void set_port_box_enabled(bool enabled) override { port_box_enabled = enabled; }
    void process_events() override
    {
        ++events_processed;
        if (on_process_events)
            on_process_events();
    }

    QStringList message_texts() const
    {
        QStringList texts;
        for (const Message &message : messages)
            texts.append(message.text);
        return texts;
    }

    QList<Message> messages;
    QStringList hints;
    bool window_enabled = true;
    QList<bool> window_changes;
    bool port_box_enabled = true;
    int events_processed = 0;
    std::function<void()> on_process_events;
    std::function<void(const QString &)> on_message;
};

} // namespace quvex::test
