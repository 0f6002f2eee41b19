#include "change_lock.h"

namespace quvex::panel {

ChangeLock::ChangeLock(link::OperatorSide &operator_side)
    : m_operator(operator_side)
{
}

bool ChangeLock::refuse()
{
    if (m_locked)
        m_operator.show_hint(QStringLiteral("Changes are locked: Edit \u203a Lock changes"));
    return m_locked;
}

} // namespace quvex::panel
