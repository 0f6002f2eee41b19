#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "serial/qt_serial_port.h"
#include "settings/settings_file.h"
#include "support/fake_operator.h"
#include "support/fake_view.h"

#include <QTimer>

namespace quvex::test {

// The whole core on the real serial port and the real event loop, with the 100 ms Timer1:
// what the window runs, minus the widgets. Messages are recorded, never shown.
struct SerialRig
{
    SerialRig()
        : SerialRig(nullptr)
    {
    }
    // The link talks through line when given (a benchmark counts bytes there), else through port.
    explicit SerialRig(link::SerialPort *line);
    SerialRig(const SerialRig &) = delete;
    SerialRig &operator=(const SerialRig &) = delete;

    settings::SettingsFile settings_file(const QString &path)
    {
        return {catalogue, bracket, operator_side, panel, path};
    }

    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    serial::QtSerialPort port;
    FakeOperator operator_side;
    link::Link link;
    link::ModeBracket bracket{link};
    FakeView view;
    panel::Panel panel{catalogue, model, link, bracket, operator_side, view};
    QTimer timer1;
};

} // namespace quvex::test
