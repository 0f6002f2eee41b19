// quvexctl: the control panel's core on the command line, for backups, restores and scripts.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "ports/port_list.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quvexctl"));
    const std::variant<quvex::cli::Invocation, int> parsed =
        quvex::cli::parse_command_line(QCoreApplication::arguments());
    if (const int *exit_code = std::get_if<int>(&parsed))
        return *exit_code;
    return quvex::cli::run_command(std::get<quvex::cli::Invocation>(parsed), &quvex::ports::system_ports);
}
