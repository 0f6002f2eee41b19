#pragma once

#include "support/rig.h"

#include <QRegularExpression>

namespace quvex::test {

// Chooses a model (which opens the port and reads the unit), then forgets what that took.
inline void connect_unit(Rig &rig, int model)
{
    rig.panel.quvex_Click(model);
    rig.unit.clear_sent();
    rig.operator_side.messages.clear();
    rig.operator_side.window_changes.clear();
}

// The first list row that starts with text, -1 when there is none.
inline int row_of(const FakeView &view, const QString &text)
{
    return static_cast<int>(view.lines.indexOf(QRegularExpression(QRegularExpression::escape(text) + ".*")));
}

} // namespace quvex::test
