#include "support/fake_operator.h"

#include <QStringList>

namespace quvex::test {

void FakeOperator::show_message(const QString &text, const QString &title, link::MessageIcon icon)
{
    messages.append({text, title, icon});
    if (on_message)
        on_message(text);
}

void FakeOperator::set_window_enabled(bool enabled)
{
    window_enabled = enabled;
    window_changes.append(enabled);
}

void FakeOperator::process_events()
{
    ++events_processed;
    if (on_process_events)
        on_process_events();
}

QStringList FakeOperator::message_texts() const
{
    QStringList texts;
    for (const Message &message : messages)
        texts.append(message.text);
    return texts;
}

} // namespace quvex::test
