#pragma once

#include <QString>
#include <QStringList>

#include <variant>

namespace quvex::cli {

enum ExitCode { kExitSuccess = 0, kExitDifferent = 1, kExitUnit = 2, kExitUsage = 3 };

enum class Command { Detect, Read, Write, Diff, Get, Set, Store, Reset, Ports, Backup, Changes, History, Restore };

// One run of quvexctl as the command line asks for it, checked for form but not yet against a
// unit: names and files are looked at when the command runs.
struct Invocation
{
    Command command = Command::Detect;
    int port = 1;
    QString device; // instead of port when not empty
    int model = 0;  // the index of the model named; 0: detect the model
    QString output; // read -o; empty: standard output
    bool json = false;
    bool trace = false;    // the wire log on standard error
    bool probe = false;    // ports --probe
    QStringList arguments; // FILE, NAME... or NAME=VALUE...
    bool read_only = false;
    bool all = false; // every unit: backup, changes, history
    QString store;    // the backup store's folder; empty: the user's own
    int keep = 30;    // backup: versions kept
    QString at;       // restore --at, history --show: a version's time
};

// The invocation to run, or the exit code after help (0) or a refusal (3) has been printed.
std::variant<Invocation, int> parse_command_line(const QStringList &arguments);

} // namespace quvex::cli
