#pragma once

#include "cli_operator.h"
#include "link/wire_log.h"
#include "session/quiet_view.h"
#include "session/unit_session.h"

namespace quvex::cli {

// One unit's session as a command runs it: messages and progress on standard error, the wire
// log there too when traced, and no list to show.
struct CommandSession
{
    // On port number N as the panel maps it, or on the device (a path or tcp://HOST:PORT) when
    // one is given; traced: with the wire log on standard error; quiet: no message shown.
    CommandSession(int port_number, const QString &device, bool traced, bool quiet = false);
    CommandSession(const CommandSession &) = delete;
    CommandSession &operator=(const CommandSession &) = delete;

    CliOperator operator_side;
    session::QuietView view;
    session::UnitSession unit{operator_side, view};
    link::WireLog wire_log{[this](const QString &line) { operator_side.show_trace_line(line); }};
    catalogue::Catalogue &catalogue = unit.catalogue;
    catalogue::CurrentModel &model = unit.model;
    serial::UnitLine &port = unit.port;
    link::Link &link = unit.link;
    link::ModeBracket &bracket = unit.bracket;
    panel::Panel &panel = unit.panel;
};

} // namespace quvex::cli
