#include "rig.h"

#include "catalogue/naming.h"

namespace quvex::test {

Rig::Rig()
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

} // namespace quvex::test
