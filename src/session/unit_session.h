#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "link/operator_side.h"
#include "panel/panel.h"
#include "panel/panel_view.h"
#include "serial/unit_line.h"

#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>

namespace quvex::link {
class StopSignals;
}

namespace quvex::session {

// Everything that talks to one unit, put together the same way wherever a unit is talked to (the
// window, quvexctl, the prober, the Units window's runs, the benchmark and the tests): the line,
// the link with Timer1 ticking, the video-mode bracket, the catalogue with the current model and
// the panel's logic. It holds no state outside itself, so sessions live side by side in one
// process, each on the thread that built it.
class UnitSession
{
public:
    // The link talks through line when one is given (a fake unit, a port that counts bytes),
    // else through the session's own line to port N or a device. The operator side and the view
    // are the front's; both outlive the session.
    UnitSession(link::OperatorSide &operator_side, panel::PanelView &view, link::Line *line = nullptr);
    UnitSession(const UnitSession &) = delete;
    UnitSession &operator=(const UnitSession &) = delete;

    // Port number N as the panel maps it when device is empty, else the device (a path or
    // tcp://HOST:PORT).
    void use_port(int number, const QString &device = {});

    // Stopping, the same for every front: a stop ends the exchange in progress, and whatever runs
    // sends nothing more. stop_when() asks stopping at every turn of a wait (another thread's
    // flag); stop_on() lets SIGINT, SIGTERM and SIGHUP ask it, stop() being what the first signal
    // does, and the second one ending the program after last_words, telling the unit's mode and
    // closing the port, since ending by a signal runs no destructor.
    void stop_when(const std::atomic<bool> &stopping);
    void stop_on(link::StopSignals &signals, std::function<void()> stop, std::function<void()> last_words = {});
    // After a stop: the unit gets its own video mode back; then, as after any run, tell_mode is
    // given what the unit may still be left in, when that is anything.
    void end_run();
    std::function<void(const QString &)> tell_mode = [](const QString &) {};

    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    serial::UnitLine port;
    link::Link link;
    link::ModeBracket bracket{link};
    panel::Panel panel;
    // The panel's periodic timer: it raises the link's tick count every Link::kTickMs.
    QTimer timer1;
};

} // namespace quvex::session
