#pragma once

#include "panel/panel_view.h"

namespace quvex::app {

class ControlForm;
class ListPaintPacer;

// The panel's view of the window's controls. Every change from here is made with the
// control's signals blocked, so the core never hears back about what it did itself.
class FormView final : public panel::PanelView
{
public:
    explicit FormView(ControlForm &form);

    void append_line(const QString &text) override;
    void set_line(int row, const QString &text) override;
    QString line(int row) const override;
    void highlight_line(int row) override;
    void clear_lines() override;

    void set_editor_caption(const QString &caption) override;
    void set_value_text(const QString &text) override;
    void set_value_controls_enabled(bool enabled) override;
    void show_option(int position, const QString &caption) override;
    void hide_option(int position) override;
    void check_option(int position) override;
    void uncheck_options() override;

    void select_model_button(int index) override;

private:
    ControlForm &m_form;
    ListPaintPacer *m_list_pacer; // owned by the list
};

} // namespace quvex::app
