#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QStatusBar;

namespace quvex::panel {
class Panel;
}

namespace quvex::app {

// Why an action that would change a unit is off: the tool tip of every such action while locked.
inline const QString kChangesLocked = QStringLiteral("Changes are locked: Edit \u203a Lock changes");

// The Edit menu: Undo and Redo of the operator's own changes since connecting, and the lock
// that keeps every change from the unit, kept across runs in the panel's settings file. Owns
// its actions and the stack of steps; the core decides what a step is and sends its values.
// While the value box holds typing of its own, Ctrl+Z and the redo keys are the box's.
class EditMenu final : public QObject
{
    Q_OBJECT

public:
    // Runs an action as the window runs every operator action.
    using Act = std::function<void(const std::function<void()> &action)>;

    // Adds the menu at the end of the bar and the lock's mark to the status line.
    EditMenu(QMenuBar &bar, QStatusBar &status, QLineEdit &value_box, QString config_path);

    void attach(panel::Panel &panel, Act act);

    QAction &undo_action() const { return *m_undo; }
    QAction &redo_action() const { return *m_redo; }
    QAction &lock_action() const { return *m_lock; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void set_locked(bool locked);
    void take_back(bool undo);
    void update_actions();

    QLineEdit &m_value_box;
    QString m_config_path;
    QUndoStack m_stack;
    QAction *m_undo;
    QAction *m_redo;
    QAction *m_lock;
    QLabel *m_lock_mark;
    panel::Panel *m_panel = nullptr;
    Act m_act;
    QString m_cannot_undo; // why the history ended last, until a new step
};

} // namespace quvex::app
