#include "form_view.h"

#include "control_form.h"
#include "list_paint_pacer.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace quvex::app {

namespace {

bool is_option_position(int position)
{
    return position >= 0 && position < ControlForm::kOptionButtons;
}

} // namespace

FormView::FormView(ControlForm &form)
    : m_form(form)
    , m_list_pacer(new ListPaintPacer(form.menu_list()))
{
}

void FormView::append_line(const QString &text)
{
    m_list_pacer->before_change(m_form.menu_list().count());
    const QSignalBlocker blocker(m_form.menu_list());
    m_form.menu_list().addItem(text);
}

void FormView::set_line(int row, const QString &text)
{
    if (QListWidgetItem *item = m_form.menu_list().item(row)) {
        m_list_pacer->before_change(row);
        const QSignalBlocker blocker(m_form.menu_list());
        item->setText(text);
    }
}

QString FormView::line(int row) const
{
    const QListWidgetItem *item = m_form.menu_list().item(row);
    return item ? item->text() : QString();
}

void FormView::highlight_line(int row)
{
    const QSignalBlocker blocker(m_form.menu_list());
    m_form.menu_list().setCurrentRow(row);
}

void FormView::clear_lines()
{
    const QSignalBlocker blocker(m_form.menu_list());
    m_form.menu_list().clear();
}

void FormView::set_editor_caption(const QString &caption)
{
    m_form.adjustment().setTitle(caption);
    // A screen reader names the frame by this alone, and the caption is which item it holds.
    m_form.adjustment().setAccessibleName(
        caption.isEmpty() ? ControlForm::kEditorName : ControlForm::kEditorName + QStringLiteral(": ") + caption);
}

void FormView::set_value_text(const QString &text)
{
    const QSignalBlocker blocker(m_form.item_value());
    m_form.item_value().setText(text);
}

void FormView::set_value_controls_enabled(bool enabled)
{
    m_form.item_value().setEnabled(enabled);
    m_form.inc().setEnabled(enabled);
    m_form.dec().setEnabled(enabled);
}

void FormView::show_option(int position, const QString &caption)
{
    if (!is_option_position(position))
        return;
    QRadioButton &button = m_form.feat_button(position);
    button.setText(caption);
    button.setAccessibleName(caption);
    button.show();
    m_form.update_tab_stops();
}

void FormView::hide_option(int position)
{
    if (is_option_position(position))
        m_form.feat_button(position).hide();
    m_form.update_tab_stops();
}

void FormView::check_option(int position)
{
    if (!is_option_position(position))
        return;
    const QSignalBlocker blocker(m_form.feat());
    const QSignalBlocker button_blocker(m_form.feat_button(position));
    m_form.feat_button(position).setChecked(true);
    m_form.update_tab_stops();
}

void FormView::uncheck_options()
{
    // An exclusive group always keeps one button checked.
    const QSignalBlocker blocker(m_form.feat());
    m_form.feat().setExclusive(false);
    for (QAbstractButton *button : m_form.feat().buttons()) {
        const QSignalBlocker button_blocker(button);
        button->setChecked(false);
    }
    m_form.feat().setExclusive(true);
    m_form.update_tab_stops();
}

void FormView::select_model_button(int index)
{
    if (index < 0 || index >= ControlForm::kModelButtons)
        return;
    const QSignalBlocker blocker(m_form.quvex());
    const QSignalBlocker button_blocker(m_form.quvex_button(index));
    m_form.quvex_button(index).setChecked(true);
    m_form.update_tab_stops();
}

} // namespace quvex::app
