#pragma once

#include "app/main_window.h"
#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "fake_unit.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "panel/panel.h"
#include "settings/settings_file.h"

#include <QList>
#include <QStringList>

namespace quvex::test {

// The real window and core, built as the program builds them, on a fake unit and on hooks
// that record what would have been shown or started. Waiting for the unit runs the fake
// unit's virtual clock, so no test waits in real time and no message box ever blocks.
struct WindowRig
{
    explicit WindowRig(const QString &settings_path = QStringLiteral("quvex.cfg"));
    WindowRig(const WindowRig &) = delete;
    WindowRig &operator=(const WindowRig &) = delete;

    app::WindowHooks hooks();
    template <typename T>
    T &control(const QString &name)
    {
        T *found = window.findChild<T *>(name);
        Q_ASSERT_X(found, "WindowRig::control", qPrintable(name));
        return *found;
    }
    void choose_model(int index);
    // Clicks the list line that starts so; false when there is none.
    [[nodiscard]] bool click_line(const QString &name_start);
    QStringList written_lines() const;

    QStringList messages;
    QStringList statuses_seen;
    QList<QStringList> started;
    bool start_succeeds = true;
    int quits = 0;

    catalogue::Catalogue catalogue;
    catalogue::CurrentModel model;
    FakeUnit unit;
    app::MainWindow window{hooks()};
    link::Link link{unit, window.operator_side()};
    link::ModeBracket bracket{link};
    panel::Panel panel{catalogue, model, link, bracket, window.operator_side(), window.view()};
    settings::SettingsFile settings;
};

} // namespace quvex::test
