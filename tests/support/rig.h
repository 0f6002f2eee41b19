#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "settings/settings_file.h"
#include "support/fake_operator.h"
#include "support/fake_unit.h"
#include "support/fake_view.h"

namespace quvex::test {

// The whole core wired to a fake unit, a recording operator side and a fake window,
// disconnected as after start-up.
struct Rig
{
    // A unit of the model with this code behind the port, the panel disconnected.
    explicit Rig(std::string_view unit_model = "QVM");
    Rig(const Rig &) = delete;
    Rig &operator=(const Rig &) = delete;

    // The index of a catalogue entry by its name as added, under the current model.
    int index_of(const QString &name) const;
    // Chooses a model (which opens the port and reads the unit), then forgets what that took.
    void connect(int model_index);
    // The first list row that starts with text, -1 when there is none.
    int row_of(const QString &text) const;
    settings::SettingsFile settings_file(const QString &path)
    {
        return {catalogue, bracket, operator_side, panel, path};
    }

    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    FakeUnit unit;  // before the link, which sets its port number
    FakeOperator operator_side;
    link::Link link{unit, operator_side};
    link::ModeBracket bracket{link};
    FakeView view;
    panel::Panel panel{catalogue, model, link, bracket, operator_side, view};
};

} // namespace quvex::test
