#pragma once

#include "panel/panel_view.h"

#include <QStringList>

#include <array>

namespace quvex::test {

// The window's controls in tests: plain fields a test reads back.
class FakeView final : public panel::PanelView
{
public:
    struct Option
    {
        QString caption = QStringLiteral("Option1");
        bool visible = false;
        bool checked = false;
    };

    void append_line(const QString &text) override { lines.append(text); }
    void set_line(int row, const QString &text) override { lines[row] = text; }
    QString line(int row) const override { return lines.value(row); }
    void highlight_line(int row) override { highlighted = row; }
    void clear_lines() override { lines.clear(); }

    void set_editor_caption(const QString &text) override { caption = text; }
    void set_value_text(const QString &text) override { value_text = text; }
    void set_value_controls_enabled(bool enabled) override { value_controls_enabled = enabled; }
    void show_option(int position, const QString &text) override
    {
        options.at(position).caption = text;
        options.at(position).visible = true;
    }
    void hide_option(int position) override { options.at(position).visible = false; }
    void check_option(int position) override
    {
        for (std::size_t i = 0; i < options.size(); ++i)
            options[i].checked = static_cast<int>(i) == position;
    }
    void uncheck_options() override { check_option(-1); }

    void select_model_button(int index) override { model_button = index; }

    QStringList lines;
    int highlighted = -1;
    QString caption;
    QString value_text = QStringLiteral(" ");
    bool value_controls_enabled = true;
    std::array<Option, 4> options;
    int model_button = -1;
};

} // namespace quvex::test
