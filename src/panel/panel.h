#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/unit_models.h"
#include "catalogue/value.h"
#include "change_history.h"
#include "change_lock.h"
#include "link/link.h"
#include "link/mode_bracket.h"
#include "link/operator_side.h"
#include "list_state.h"
#include "operation.h"
#include "panel_view.h"

#include <QString>

namespace quvex::panel {

// Everything an operator can do to the unit, behind the window: the adjustment list, the
// editor, the unit-wide operations, the picture buttons and the choice of unit model.
// The window only forwards its events here. Every change goes through set_item_value, which
// sends, reads back and shows what the unit reports.
class Panel
{
public:
    Panel(catalogue::Catalogue &catalogue, catalogue::CurrentModel &model, link::Link &link, link::ModeBracket &bracket,
          link::OperatorSide &operator_side, PanelView &view);

    const catalogue::CurrentModel &model() const { return m_model; }
    int selected_item() const { return m_selected_item; }
    int step_size() const { return m_step_size; }

    // Adjustment list
    void split_item_options(int index);
    void refresh_item(int index);
    QString item_line(int index);
    // Empties the list and forgets every line, so a later refresh appends afresh.
    void clear_list();

    // Unit-wide operations
    void read_all_items();
    void read_unit_Click();
    void write_unit_Click();
    void reset_unit_Click();
    void store_settings_Click();
    void vga_store_Click();
    // A command item the unit acts on when it is set to 1 ("Reset", "Store Settings"...).
    void send_unit_command(const QString &command);

    // Model selection
    void Form_Load();
    void quvex_Click(int index);
    // The end of a session that was asked to stop, once no operation runs: a restore that a
    // lost line kept goes out, and the port closes without a word.
    void end_stopped_session();
    // Which video mode the unit may be left in instead of its own; empty when it has its own.
    QString unit_mode_left() const { return m_bracket.unrestored_mode(); }

    // Item editing
    void set_item_value(int index, const catalogue::Value &new_value);
    void menu_list_Click(int row);
    void item_value_LostFocus(const QString &text);
    void inc_Click();
    void dec_Click();
    void feat_Click(int position);

    // Picture position, size, zoom and pan
    void adjust_named_item(const QString &name, double step);
    void set_named_item(const QString &name, const catalogue::Value &value);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command20_Click();
    void Command21_Click();
    void Command22_Click();
    void Command24_Click();

    // Operations on the unit: the window stays locked until the returned scope ends.
    Operation begin_operation() { return Operation(m_lock, m_link.state()); }
    UnitRun begin_run(const QString &verb, int total)
    {
        m_history.set_caption(verb);
        return UnitRun(m_lock, m_link, m_bracket, m_progress, verb, total);
    }
    void set_progress_hook(ProgressHook hook) { m_progress = std::move(hook); }
    int supported_item_count(bool skip_headers) const;

    // Whether changes may reach the unit; every path that would change it asks.
    ChangeLock &changes() { return m_changes; }
    // What each operator action changed, as steps that can be taken back.
    ChangeHistory &history() { return m_history; }
    // Sends the items' old values (undo, last item first) or new ones (redo, first item first)
    // through the path of any change, in one operation, and reads each back. Gives the items
    // not yet taken back, in step order, after one message that names them.
    QList<ItemChange> take_back(const QList<ItemChange> &items, bool undo);

private:
    void show_item(int index);
    void load_editor(int index);
    void highlight_item(int index);
    // A button's change, unless changes are locked.
    void adjust_mode_item(const QString &base_name, double step);
    void adjust_button_item(const QString &name, double step);
    void set_button_item(const QString &name, double value);
    // True, with the editor showing the unit's value again, while changes are locked.
    bool refuse_change();
    catalogue::Value stepped(int index, double step) const;

    catalogue::Catalogue &m_catalogue;
    catalogue::CurrentModel &m_model;
    link::Link &m_link;
    link::ModeBracket &m_bracket;
    link::OperatorSide &m_operator;
    PanelView &m_view;
    ListState m_list;
    int m_selected_item = 0;
    int m_step_size = 0;
    OperationLock m_lock{m_operator};
    ProgressHook m_progress;
    ChangeLock m_changes{m_operator};
    ChangeHistory m_history;
};

} // namespace quvex::panel
