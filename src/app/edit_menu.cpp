#include "edit_menu.h"

#include "change_command.h"
#include "panel/panel.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

namespace quvex::app {

namespace {

const QString kLockKey = QStringLiteral("lock_changes");

QAction *make_item(QMenu &menu, const char *name, const QString &caption, const QList<QKeySequence> &keys)
{
    QAction *action = menu.addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    return action;
}

} // namespace

EditMenu::EditMenu(QMenuBar &bar, QStatusBar &status, QLineEdit &value_box, QString config_path)
    : QObject(&bar)
    , m_value_box(value_box)
    , m_config_path(std::move(config_path))
    , m_lock_mark(new QLabel(QStringLiteral("Changes locked")))
{
    QMenu *menu = bar.addMenu(QStringLiteral("Edit"));
    menu->setObjectName(QStringLiteral("edit"));
    m_undo = make_item(*menu, "undo", QStringLiteral("Undo"), QKeySequence::keyBindings(QKeySequence::Undo));
    m_redo = make_item(*menu, "redo", QStringLiteral("Redo"), QKeySequence::keyBindings(QKeySequence::Redo));
    menu->addSeparator();
    m_lock = make_item(*menu, "lock_changes", QStringLiteral("Lock changes"), {QKeySequence(Qt::CTRL | Qt::Key_L)});
    m_lock->setCheckable(true);
    m_lock_mark->setObjectName(QStringLiteral("lock_mark"));
    status.addPermanentWidget(m_lock_mark);
    m_value_box.installEventFilter(this);

    const bool locked =
        !m_config_path.isEmpty() && QSettings(m_config_path, QSettings::IniFormat).value(kLockKey).toBool();
    m_lock->setChecked(locked);
    m_lock_mark->setVisible(locked);
    connect(&m_stack, &QUndoStack::indexChanged, this, &EditMenu::update_actions);
    update_actions();
}

void EditMenu::attach(panel::Panel &panel, Act act)
{
    m_panel = &panel;
    m_act = std::move(act);
    panel.changes().set_locked(m_lock->isChecked());
    panel.history().set_hooks(
        [this](const panel::ChangeStep &step) {
            m_cannot_undo.clear();
            m_stack.push(new ChangeCommand(*m_panel, step));
        },
        [this](const QString &reason) {
            m_cannot_undo = reason;
            m_stack.clear();
            update_actions();
        });
    connect(m_lock, &QAction::toggled, this, &EditMenu::set_locked);
    connect(m_undo, &QAction::triggered, this, [this] { m_act([this] { take_back(true); }); });
    connect(m_redo, &QAction::triggered, this, [this] { m_act([this] { take_back(false); }); });
}

void EditMenu::set_locked(bool locked)
{
    m_panel->changes().set_locked(locked);
    m_lock_mark->setVisible(locked);
    // Losing the setting costs only the next start's lock; the lock holds for this run.
    if (!m_config_path.isEmpty())
        QSettings(m_config_path, QSettings::IniFormat).setValue(kLockKey, locked);
    update_actions();
}

void EditMenu::take_back(bool undo)
{
    const int index = m_stack.index();
    if (undo ? !m_stack.canUndo() : !m_stack.canRedo())
        return;
    auto *command = static_cast<ChangeCommand *>(const_cast<QUndoCommand *>(m_stack.command(undo ? index - 1 : index)));
    undo ? m_stack.undo() : m_stack.redo();
    // The step stays where it was, with the items the unit did not take.
    if (command->left_items()) {
        command->skip_next();
        m_stack.setIndex(index);
    }
    update_actions();
}

void EditMenu::update_actions()
{
    const bool locked = m_lock->isChecked();
    m_undo->setText(m_stack.canUndo()         ? QStringLiteral("Undo ") + m_stack.undoText()
                    : m_cannot_undo.isEmpty() ? QStringLiteral("Undo")
                                              : QStringLiteral("Can't undo: ") + m_cannot_undo);
    m_redo->setText(m_stack.canRedo() ? QStringLiteral("Redo ") + m_stack.redoText() : QStringLiteral("Redo"));
    m_undo->setEnabled(m_stack.canUndo() && !locked);
    m_redo->setEnabled(m_stack.canRedo() && !locked);
    for (QAction *action : {m_undo, m_redo})
        action->setToolTip(locked ? kChangesLocked : QString());
}

bool EditMenu::eventFilter(QObject *watched, QEvent *event)
{
    // Typing not yet sent is the box's to take back; else the keys reach the menu.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->matches(QKeySequence::Undo) && !m_value_box.isUndoAvailable())
            || (key->matches(QKeySequence::Redo) && !m_value_box.isRedoAvailable())) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quvex::app
