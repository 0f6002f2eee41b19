#include "support/rig.h"

#include "catalogue/naming.h"

namespace quvex::test {

Rig::Rig(std::string_view unit_model)
    : unit(unit_model)
{
    catalogue::build_catalogue(catalogue);
    unit.on_tick = [this] { link.Timer1_Timer(); };
    operator_side.on_process_events = [this] { unit.step(); };
    panel.Form_Load();
}

int Rig::index_of(const QString &name) const
{
    return catalogue::find_item(catalogue, model, name);
}

void Rig::connect(int model_index)
{
    panel.quvex_Click(model_index);
    unit.clear_sent();
    operator_side.messages.clear();
    operator_side.window_changes.clear();
}

int Rig::row_of(const QString &text) const
{
    for (qsizetype row = 0; row < view.lines.size(); ++row) {
        if (view.lines[row].startsWith(text))
            return static_cast<int>(row);
    }
    return -1;
}

} // namespace quvex::test
