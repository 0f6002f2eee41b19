#include "network_port_dialog.h"

#include "message_box.h"
#include "serial/network_address.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace quvex::app {

namespace {

// Where device servers commonly put their first serial port in TCP server mode.
constexpr int kUsualTcpPort = 4001;

} // namespace

NetworkPortDialog::NetworkPortDialog(QWidget *parent, int number, const QString &target)
    : QDialog(parent)
    , m_host(new QLineEdit)
    , m_tcp_port(new QSpinBox)
{
    dress_as_panel(*this, parent);
    m_host->setObjectName(QStringLiteral("network_host"));
    m_tcp_port->setObjectName(QStringLiteral("network_tcp_port"));
    m_tcp_port->setRange(1, 65535);
    const std::optional<serial::NetworkAddress> address = serial::parse_network_address(target);
    m_host->setText(address ? address->host : QString());
    m_tcp_port->setValue(address ? address->port : kUsualTcpPort);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    const auto judge = [this] { m_ok->setEnabled(serial::parse_network_address(this->target()).has_value()); };
    judge();
    connect(m_host, &QLineEdit::textChanged, this, judge);
    connect(m_tcp_port, &QSpinBox::valueChanged, this, judge);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QFormLayout(this);
    layout->addRow(new QLabel(QStringLiteral("COM %1 is to reach a serial device server:").arg(number)));
    layout->addRow(QStringLiteral("&Host:"), m_host);
    layout->addRow(QStringLiteral("&TCP port:"), m_tcp_port);
    layout->addRow(buttons);
}

QString NetworkPortDialog::target() const
{
    QString host = m_host->text().trimmed();
    // A whole address pasted into the host field stands for itself.
    if (const std::optional<serial::NetworkAddress> pasted = serial::parse_network_address(host))
        return serial::network_target(*pasted);
    // An IPv6 host may come in the brackets of an address; they are the address's, not the host's.
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.sliced(1, host.size() - 2);
    return serial::network_target({host, quint16(m_tcp_port->value())});
}

std::optional<QString> ask_network_port(QWidget *parent, int number, const QString &target)
{
    NetworkPortDialog dialog(parent, number, target);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.target();
}

} // namespace quvex::app
