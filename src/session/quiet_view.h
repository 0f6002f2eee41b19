#pragma once

#include "panel/panel_view.h"

namespace quvex::session {

// The panel's controls where there are none: quvexctl prints what it reads itself, and a unit
// probed or run beside the panel shows its outcome elsewhere.
class QuietView final : public panel::PanelView
{
public:
    void append_line(const QString &) override {}
    void set_line(int, const QString &) override {}
    QString line(int) const override { return {}; }
    void highlight_line(int) override {}
    void clear_lines() override {}
    void set_editor_caption(const QString &) override {}
    void set_value_text(const QString &) override {}
    void set_value_controls_enabled(bool) override {}
    void show_option(int, const QString &) override {}
    void hide_option(int) override {}
    void check_option(int) override {}
    void uncheck_options() override {}
    void select_model_button(int) override {}
};

} // namespace quvex::session
