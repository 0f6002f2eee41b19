// quvex-sim: one QUVEX unit on a pseudo-terminal, for running the panel without hardware.
#include "sim/adapter.h"
#include "sim/options.h"
#include "sim/serve_loop.h"
#include "sim/signal_pipe.h"
#include "sim/unit.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    using namespace quvex::sim;
    QCoreApplication app(argc, argv);
    int exit_code = 0;
    const auto options = parse_options(QCoreApplication::arguments(), exit_code);
    if (!options)
        return exit_code;

    Unit unit(options->model, options->state_path,
              [](const std::string &problem) { std::fprintf(stderr, "quvex-sim: %s\n", problem.c_str()); });
    std::string error;
    SignalPipe stop_signals;
    Adapter adapter(options->model, options->com);
    if (!stop_signals.install(error) || !adapter.plug(error)) {
        std::fprintf(stderr, "quvex-sim: %s\n", error.c_str());
        return 1;
    }
    return serve(*options, unit, adapter, stop_signals.fd());
}
