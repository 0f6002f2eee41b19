#include "unit_row.h"

namespace quvex::rack {

QString state_text(const UnitRow &row)
{
    switch (row.state) {
    case UnitState::NotAsked:
        return QStringLiteral("not asked");
    case UnitState::Answers:
        return QStringLiteral("answers");
    case UnitState::NoAnswer:
        return QStringLiteral("no answer (since %1)").arg(row.silent_since.toString(QStringLiteral("HH:mm:ss")));
    case UnitState::NotQuvex:
        return QStringLiteral("answers, but not as a QUVEX unit");
    case UnitState::InUse:
    case UnitState::WillNotOpen:
        return row.reason;
    case UnitState::OpenInPanel:
        return QStringLiteral("open in this panel");
    }
    return {};
}

QString port_text(const UnitRow &row)
{
    return row.port.number ? QStringLiteral("COM %1").arg(row.port.number) : row.target;
}

} // namespace quvex::rack
