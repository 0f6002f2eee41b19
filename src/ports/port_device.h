#pragma once

#include <QString>

namespace quvex::ports {

// Folder of per-user port links: a link comN there names what port number N means.
QString ports_folder();

// The path of the link that names port number N, whether it exists or not.
QString port_link_path(int number);

// What port number N means: "COMN" on Windows; elsewhere the target of the link comN in
// ports_folder() exactly as the link holds it (a device path, or a target that names no file
// at all), or /dev/ttyS<N-1> without one.
QString port_device(int number);

// Whether what a port means is a network address rather than a device: the one rule is that it
// begins with tcp:// (in any letter case). It is listed and reached over the network, or refused
// when the rest is no HOST:PORT, and never opened or examined as a file.
bool is_network_target(const QString &target);

// Makes port number N mean target, replacing a link comN that is there already (never a file
// of any other kind). Empty on success, else the reason it could not.
QString link_port(int number, const QString &target);

} // namespace quvex::ports
