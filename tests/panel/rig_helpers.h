#pragma once

#include "support/rig.h"

#include <QByteArray>
#include <QStringList>

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
    for (int row = 0; row < view.lines.size(); ++row) {
        if (view.lines.at(row).startsWith(text))
            return row;
    }
    return -1;
}

// Lines as the unit receives them, each ended by CR.
inline QByteArray wire_bytes(const QStringList &lines)
{
    return lines.isEmpty() ? QByteArray() : (lines.join(u'\r') + u'\r').toLatin1();
}

} // namespace quvex::test
