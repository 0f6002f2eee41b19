#include "command_session.h"

namespace quvex::cli {

CommandSession::CommandSession(int port_number, const QString &device, bool traced, bool quiet)
    : operator_side(quiet)
{
    if (traced)
        link.set_wire_observer(&wire_log);
    unit.use_port(port_number, device);
    panel.set_progress_hook([this](const QString &verb, int done, int total, const QString &item) {
        operator_side.show_progress(verb, done, total, item);
    });
}

} // namespace quvex::cli
