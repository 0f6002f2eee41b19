#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "cli_operator.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "link/wire_log.h"
#include "null_view.h"
#include "panel/panel.h"
#include "serial/unit_line.h"

#include <QTimer>

namespace quvex::cli {

// The panel's core as the window builds it, on the real line to the unit with Timer1 ticking every
// 100 ms, so that the wire sees the same exchanges, brackets and time-outs as from the window.
struct UnitSession
{
    // On port number N as the panel maps it, or on the device (a path or tcp://HOST:PORT) when
    // one is given; traced: with the wire log on standard error; quiet: no message shown.
    UnitSession(int port_number, const QString &device, bool traced, bool quiet = false);
    UnitSession(const UnitSession &) = delete;
    UnitSession &operator=(const UnitSession &) = delete;

    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    CliOperator operator_side;
    link::WireLog wire_log{[this](const QString &line) { operator_side.show_trace_line(line); }};
    serial::UnitLine port{[this] { operator_side.process_events(); }};
    link::Link link{port, operator_side};
    link::ModeBracket bracket{link};
    NullView view;
    panel::Panel panel{catalogue, model, link, bracket, operator_side, view};
    QTimer timer1;
};

} // namespace quvex::cli
