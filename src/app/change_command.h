#pragma once

#include "panel/change_history.h"

#include <QUndoCommand>

namespace quvex::panel {
class Panel;
}

namespace quvex::app {

// One step of the operator's changes on the Edit menu's stack. The change was made before the
// step was pushed, so the stack's first redo finds it done. Undo and redo call the core, which
// sends the values; a step the unit took only part of keeps the items not yet taken back.
class ChangeCommand final : public QUndoCommand
{
public:
    ChangeCommand(panel::Panel &panel, panel::ChangeStep step);

    void undo() override;
    void redo() override;

    // Whether the last undo or redo left items; the stack's index must then go back to where it was.
    bool left_items() const { return m_left_items; }
    // The next undo or redo only moves the stack's index: the unit already has those values.
    void skip_next() { m_skip = true; }

private:
    void take_back(bool undo);

    panel::Panel &m_panel;
    panel::ChangeStep m_step;
    bool m_skip = true;
    bool m_left_items = false;
};

} // namespace quvex::app
