// quvex-sim: one QUVEX unit on a pseudo-terminal, for running the panel without hardware.
#include "sim/options.h"
#include "sim/port_link.h"
#include "sim/pty_pair.h"
#include "sim/serve_loop.h"
#include "sim/signal_pipe.h"
#include "sim/unit.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    using namespace quvex::sim;
    QCoreApplication app(argc, argv);
    int exit_code = 0;
    const auto options = parse_options(QCoreApplication::arguments(), exit_code);
    if (!options)
        return exit_code;

    std::string error;
    SignalPipe stop_signals;
    PtyPair pty;
    PortLink link;
    if (!stop_signals.install(error) || !pty.open(error)
        || (options->com > 0 && !link.create(options->com, pty.slave_path(), error))) {
        std::fprintf(stderr, "quvex-sim: %s\n", error.c_str());
        return 1;
    }
    Unit unit(options->model, options->state_path,
              [](const std::string& problem) { std::fprintf(stderr, "quvex-sim: %s\n", problem.c_str()); });

    const auto code = model_code(options->model);
    if (std::printf("quvex-sim: %.*s on %s\n", int(code.size()), code.data(), pty.slave_path().c_str()) < 0
        || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "quvex-sim: cannot announce the device on stdout\n");
        return 1;
    }
    return serve(*options, unit, pty.master(), stop_signals.fd());
}
