#pragma once

#include "catalogue/naming.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "settings/settings_file.h"
#include "support/fake_operator.h"
#include "support/fake_unit.h"
#include "support/fake_view.h"

#include <QRegularExpression>

namespace quvex::test {

// The core on a given port, with a recording operator side and a fake window. The port is built
// before it (the link sets its port number) and outlives it, so the rigs hold it in a base.
struct Core
{
    explicit Core(link::Line &port)
        : link(port, operator_side)
    {
        catalogue::build_catalogue(catalogue);
    }
    Core(const Core &) = delete;
    Core &operator=(const Core &) = delete;

    settings::SettingsFile settings_file(const QString &path)
    {
        return {catalogue, bracket, operator_side, panel, path};
    }

    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    FakeOperator operator_side;
    link::Link link;
    link::ModeBracket bracket{link};
    FakeView view;
    panel::Panel panel{catalogue, model, link, bracket, operator_side, view};
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
        , Core(unit)
    {
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
