#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quvex::app {

// Asks for the host and TCP port of the serial device server (or ser2net) that a port number is
// to reach. The host may be typed as a name, an IPv6 address with or without its brackets, or a
// whole tcp://HOST:PORT pasted in; OK only when that makes an address.
class NetworkPortDialog final : public QDialog
{
public:
    // Shows target when it is a network port already, else an empty host.
    NetworkPortDialog(QWidget *parent, int number, const QString &target);

    // tcp://HOST:PORT as typed; a whole address in the host field gives its own port.
    QString target() const;

private:
    QLineEdit *m_host;
    QSpinBox *m_tcp_port;
    QPushButton *m_ok;
};

// Shows the dialog modally: tcp://HOST:PORT, or nothing when it is cancelled.
std::optional<QString> ask_network_port(QWidget *parent, int number, const QString &target);

} // namespace quvex::app
