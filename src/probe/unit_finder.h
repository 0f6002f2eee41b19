#pragma once

#include "port_probe.h"
#include "ports/port_list.h"

#include <QString>

#include <optional>

namespace quvex::probe {

// What the Port menu decides, at one moment, about the number in the port box and the port the
// panel has open: what choosing a port does, what to ask before a number is made to mean
// another device, in which order Find units connects to the unit chosen, and what Detect model
// makes of the model it found. It only decides: it neither links, nor opens, nor shows.
class UnitFinder
{
public:
    // What choosing a port does: its number goes in the port box, else a number is linked to it.
    struct PortUse
    {
        int box_number = 0;  // for the port box; 0: none
        int link_number = 0; // the number to link to link_target; 0: nothing to link
        QString link_target;
    };
    // Find units' steps towards the unit the operator chose.
    struct Connect
    {
        bool disconnect_first = false; // as choosing "Dis-connected" does, before the box may change
        PortUse port;
        int model_index = 0; // chosen once the port is in use
    };
    // Detect model's answer: the model to choose, and what the operator is told first.
    struct ModelChoice
    {
        std::optional<int> model_index; // nothing: the model chosen stays
        QString message;
    };

    // open_device: the device the panel has open; empty while no port is open.
    UnitFinder(int box_number, QString open_device);

    const QString &open_device() const { return m_open_device; }

    // The number that is open is never relinked.
    PortUse use(const ports::PortEntry &port) const;
    // Nothing for no unit found, or for the panel's own unit as it is.
    std::optional<Connect> connect(const ProbeResult &chosen) const;
    // found: 0 when the unit's answers fit no model; chosen: the model chosen now.
    ModelChoice detected(int found, int chosen) const;

    // What to ask before port number N is made to mean target; empty when N names nothing else.
    static QString link_question(int number, const QString &target);

private:
    int m_box_number;
    QString m_open_device;
};

} // namespace quvex::probe
