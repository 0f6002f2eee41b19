#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quvex::app {

// Asks for the host and TCP port of the serial device server (or ser2net) that a port number is
// to reach. OK only with a host typed.
class NetworkPortDialog final : public QDialog
{
public:
    // Shows target when it is a network port already, else an empty host.
    NetworkPortDialog(QWidget *parent, int number, const QString &target);

    // tcp://HOST:PORT as typed.
    QString target() const;

private:
    QLineEdit *m_host;
    QSpinBox *m_tcp_port;
    QPushButton *m_ok;
};

// Shows the dialog modally: tcp://HOST:PORT, or nothing when it is cancelled.
std::optional<QString> ask_network_port(QWidget *parent, int number, const QString &target);

} // namespace quvex::app
