#pragma once

#include "link/operator_side.h"

#include <QString>

namespace quvex::panel {

// Whether the operator's changes may reach the unit. Every path of the panel that would change
// the unit asks refuse() before it sends; reads never ask. A refusal is told on the status line,
// never in a box: on air a slip must not cost a second click to dismiss.
class ChangeLock
{
public:
    explicit ChangeLock(link::OperatorSide &operator_side);

    void set_locked(bool locked) { m_locked = locked; }
    // True, after telling the operator, while changes are locked.
    bool refuse();

private:
    link::OperatorSide &m_operator;
    bool m_locked = false;
};

} // namespace quvex::panel
