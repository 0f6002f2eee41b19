#pragma once

#include <QString>

namespace quvex::panel {

// The window's controls that the panel drives: the adjustment list `menu_list`, the editor
// (frame `adjustment`, text box `item_value`, buttons `inc`/`dec`, option buttons `feat`) and
// the unit-type group `quvex`. Setting a control from here never calls back into the panel.
class PanelView
{
public:
    virtual ~PanelView() = default;

    // menu_list
    virtual void append_line(const QString &text) = 0;
    virtual void set_line(int row, const QString &text) = 0;
    virtual QString line(int row) const = 0;
    virtual void highlight_line(int row) = 0;
    virtual void clear_lines() = 0;

    // the editor
    virtual void set_editor_caption(const QString &caption) = 0;
    virtual void set_value_text(const QString &text) = 0;
    // item_value, inc and dec together
    virtual void set_value_controls_enabled(bool enabled) = 0;
    virtual void show_option(int position, const QString &caption) = 0;
    virtual void hide_option(int position) = 0;
    virtual void check_option(int position) = 0;
    virtual void uncheck_options() = 0;

    // quvex: the selected entry of the unit-type group
    virtual void select_model_button(int index) = 0;
};

} // namespace quvex::panel
