#include "change_command.h"

#include "panel/panel.h"

#include <utility>

namespace quvex::app {

ChangeCommand::ChangeCommand(panel::Panel &panel, panel::ChangeStep step)
    : m_panel(panel)
    , m_step(std::move(step))
{
    setText(m_step.text());
}

void ChangeCommand::undo()
{
    take_back(true);
}

void ChangeCommand::redo()
{
    take_back(false);
}

void ChangeCommand::take_back(bool undo)
{
    m_left_items = false;
    if (std::exchange(m_skip, false))
        return;
    const qsizetype before = m_step.items.size();
    const QList<panel::ItemChange> left = m_panel.take_back(m_step.items, undo);
    m_left_items = !left.isEmpty();
    if (!m_left_items)
        return;
    // What was taken back is done with: the step goes on with the rest, in either direction.
    if (left.size() != before)
        m_step.items = left;
    setText(m_step.text());
}

} // namespace quvex::app
