#pragma once

#include "catalogue/naming.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "session/unit_session.h"
#include "settings/settings_file.h"
#include "support/fake_operator.h"
#include "support/fake_unit.h"
#include "support/fake_view.h"

#include <QRegularExpression>

namespace quvex::test {

struct Sides
{
    FakeOperator operator_side;
    FakeView view;
};

// One unit's session with a recording operator side and a fake window, on the line given, else
// on its own line to port N. The line is built before the session and outlives it.
struct Core : Sides
{
    explicit Core(link::Line *line)
        : session(operator_side, view, line)
    {
    }
    Core(const Core &) = delete;
    Core &operator=(const Core &) = delete;

    settings::SettingsFile settings_file(const QString &path)
    {
        return {catalogue, bracket, operator_side, panel, path};
    }

    session::UnitSession session;
    catalogue::Catalogue &catalogue = session.catalogue;
    catalogue::CurrentModel &model = session.model;
    link::Link &link = session.link;
    link::ModeBracket &bracket = session.bracket;
    panel::Panel &panel = session.panel;
};

struct FakeLine
{
    FakeUnit unit;
};

// The whole core on a fake unit and virtual time, disconnected as after start-up.
struct Rig : FakeLine, Core
{
    // A unit of the model with this code behind the port.
    explicit Rig(std::string_view unit_model = "QVM")
        : FakeLine{FakeUnit(unit_model)}
        , Core(&unit)
    {
        // The fake unit's virtual clock gives the ticks.
        session.timer1.stop();
        unit.on_tick = [this] { link.Timer1_Timer(); };
        operator_side.on_process_events = [this] { unit.step(); };
        panel.Form_Load();
    }

    // The index of a catalogue entry by its name as added, under the current model.
    int index_of(const QString &name) const { return catalogue::find_item(catalogue, model, name); }
    // Chooses a model (which opens the port and reads the unit), then forgets what that took.
    void connect(int model_index)
    {
        panel.quvex_Click(model_index);
        unit.clear_sent();
        operator_side.messages.clear();
        operator_side.window_changes.clear();
    }
    // The first list row that starts with text, -1 when there is none.
    int row_of(const QString &text) const
    {
        // indexOf takes only a match of the whole line.
        return static_cast<int>(view.lines.indexOf(QRegularExpression(QRegularExpression::escape(text) + ".*")));
    }
};

} // namespace quvex::test
