#include "units_window.h"

#include "edit_menu.h"
#include "rack/rack.h"
#include "recent_files.h"
#include "settings/settings_content.h"
#include "text/visible_text.h"
#include "units_table_model.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace quvex::app {

namespace {

// A bar in the progress column while the row's action runs; its outcome in words afterwards.
class ProgressDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QVariant percent = index.data(UnitsTableModel::kPercentRole);
        if (!percent.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionProgressBar bar;
        bar.rect = option.rect.adjusted(2, 2, -2, -2);
        bar.minimum = 0;
        bar.maximum = 100;
        bar.progress = percent.toInt();
        bar.text = index.data().toString();
        bar.textVisible = true;
        bar.state = option.state | QStyle::State_Horizontal;
        QApplication::style()->drawControl(QStyle::CE_ProgressBar, &bar, painter);
    }
};

// "Back up (Ctrl+B)": what the action does and its key.
QString shortcut_tip(const QAction &action)
{
    return QStringLiteral("%1 (%2)").arg(action.iconText(), action.shortcut().toString(QKeySequence::NativeText));
}

} // namespace

UnitsWindow::UnitsWindow(QWidget &panel, rack::Rack &rack, const WindowHooks &hooks, QAction &lock)
    : QWidget(&panel, Qt::Window)
    , m_panel(panel)
    , m_rack(rack)
    , m_hooks(hooks)
    , m_lock(lock)
    , m_model(new UnitsTableModel(rack, this))
    , m_table(new QTableView)
    , m_summary(new QLabel)
{
    setObjectName(QStringLiteral("units_window"));
    setWindowTitle(QStringLiteral("Units"));
    m_table->setObjectName(QStringLiteral("units"));
    m_table->setAccessibleName(QStringLiteral("Units"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    m_table->setTabKeyNavigation(false); // Tab goes on to the buttons
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setItemDelegateForColumn(UnitsTableModel::Progress, new ProgressDelegate(m_table));
    m_table->installEventFilter(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setAccessibleName(QStringLiteral("Summary"));
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_summary);
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    const auto add = [this, buttons](const char *name, const QString &caption, const QKeySequence &key,
                                     void (UnitsWindow::*handler)()) {
        QAction *action = add_action(name, caption, key);
        connect(action, &QAction::triggered, this, handler);
        auto *button = new QToolButton;
        button->setObjectName(QString::fromLatin1(name));
        button->setDefaultAction(action);
        button->setAccessibleName(action->iconText());
        button->setFocusPolicy(Qt::StrongFocus);
        buttons->addWidget(button);
        return action;
    };
    m_refresh = add("units_refresh", QStringLiteral("Refresh"), Qt::Key_F5, &UnitsWindow::refresh);
    m_back_up =
        add("units_back_up", QStringLiteral("Back up"), QKeySequence(Qt::CTRL | Qt::Key_B), &UnitsWindow::back_up);
    m_changes = add("units_changes", QStringLiteral("Changes since backup"), QKeySequence(Qt::CTRL | Qt::Key_D),
                    &UnitsWindow::find_changes);
    m_load_file = add("units_load_file", QStringLiteral("Load file..."), QKeySequence(Qt::CTRL | Qt::Key_O),
                      &UnitsWindow::load_file);
    m_open = add("units_open", QStringLiteral("Open in panel"), Qt::Key_Return, &UnitsWindow::open_selected);
    m_cancel = add("units_cancel", QStringLiteral("Cancel"), Qt::Key_Escape, &UnitsWindow::cancel);
    // Return opens the row the table is on, not the name being edited in it.
    m_open->setShortcutContext(Qt::WidgetShortcut);
    m_table->addAction(m_open);
    buttons->addStretch();
    resize(820, 360);

    connect(&m_lock, &QAction::toggled, this, &UnitsWindow::update_actions);
    connect(m_model, &UnitsTableModel::name_refused, this, [this](const QString &reason) {
        m_hooks.show_message(this, QStringLiteral("The name could not be kept."), {}, link::MessageIcon::None, reason);
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &UnitsWindow::update_actions);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this, &UnitsWindow::update_actions);
    connect(&m_rack, &rack::Rack::rows_reset, this, &UnitsWindow::update_actions);
    connect(&m_rack, &rack::Rack::row_changed, this, &UnitsWindow::update_actions);
    connect(&m_rack, &rack::Rack::run_finished, this, [this](const QString &summary) {
        m_summary->setText(summary);
        update_actions();
    });
    // Queued: the dialog waits for the operator, and the rack must be done emitting first.
    connect(&m_rack, &rack::Rack::changes_found, this, &UnitsWindow::show_changes, Qt::QueuedConnection);

    const int seconds = m_hooks.config_file.isEmpty()
                            ? 0
                            : QSettings(m_hooks.config_file, QSettings::IniFormat).value(kWatchKey).toInt();
    m_rack.set_watch_interval(seconds > 0 ? seconds * 1000 : rack::Rack::kDefaultWatchMs);
    update_actions();
}

QAction *UnitsWindow::add_action(const char *name, const QString &caption, const QKeySequence &key)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setToolTip(shortcut_tip(*action));
    addAction(action);
    return action;
}

void UnitsWindow::cancel()
{
    m_rack.cancel();
}

void UnitsWindow::show_beside_panel()
{
    if (!std::exchange(m_placed, true))
        move(m_panel.frameGeometry().topRight() + QPoint(1, 0));
    show();
    raise();
    activateWindow();
    m_table->setFocus(Qt::ActiveWindowFocusReason);
}

void UnitsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar was open all along, and watched.
    if (event->spontaneous())
        return;
    refresh();
    m_rack.start_watch();
    m_table->setFocus(Qt::ActiveWindowFocusReason);
}

void UnitsWindow::hideEvent(QHideEvent *event)
{
    // Nothing is asked of the units once the window is closed; minimized, it is still open.
    if (!event->spontaneous())
        m_rack.stop_watch();
    QWidget::hideEvent(event);
}

bool UnitsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QModelIndex current = m_table->currentIndex();
        if (key == Qt::Key_F2 && current.isValid()) {
            // The name is the one thing to edit, wherever the row was entered.
            m_table->setCurrentIndex(current.siblingAtColumn(UnitsTableModel::Name));
            m_table->edit(m_table->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QList<int> UnitsWindow::selected_rows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString UnitsWindow::unit_text(int row) const
{
    const rack::UnitRow &unit = m_rack.rows().at(row);
    return rack::port_text(unit) + (unit.name.isEmpty() ? QString() : u' ' + text::visible(unit.name));
}

void UnitsWindow::refresh()
{
    if (m_rack.is_running())
        return;
    // The rows come anew: the units chosen stay chosen, known by their lines.
    QStringList chosen;
    for (int row : selected_rows())
        chosen.append(m_rack.rows().at(row).target);
    m_rack.refresh();
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (chosen.contains(m_rack.rows().at(row).target))
            m_table->selectionModel()->select(m_model->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    if (!selected_rows().isEmpty())
        m_table->setCurrentIndex(m_model->index(selected_rows().constFirst(), 0));
    else if (m_model->rowCount() > 0)
        m_table->selectRow(0);
    update_actions();
}

void UnitsWindow::back_up()
{
    m_summary->clear();
    m_rack.back_up(selected_rows());
    update_actions();
}

void UnitsWindow::find_changes()
{
    m_summary->clear();
    m_rack.find_changes(selected_rows());
    update_actions();
}

void UnitsWindow::show_changes(const QList<rack::UnitChanges> &changes)
{
    QList<rack::UnitChanges> differing = changes;
    differing.removeIf([](const rack::UnitChanges &unit) { return unit.differences.isEmpty(); });
    if (differing.isEmpty() || !m_hooks.choose_unit_changes)
        return;
    QStringList units;
    for (const rack::UnitChanges &unit : differing)
        units.append(unit_text(unit.row));
    const QString locked = m_lock.isChecked() ? kChangesLocked : QString();
    const std::optional<QList<rack::UnitChanges>> ticked = m_hooks.choose_unit_changes(this, differing, units, locked);
    // The lock may have come on while the dialog was open.
    if (ticked && !ticked->isEmpty() && !m_lock.isChecked()) {
        m_summary->clear();
        m_rack.send_changes(*ticked);
        update_actions();
    }
}

void UnitsWindow::load_file()
{
    const QList<int> rows = selected_rows();
    if (m_lock.isChecked() || rows.isEmpty() || !m_hooks.choose_file)
        return;
    RecentFiles recent(m_hooks.config_file);
    const QString path = m_hooks.choose_file(this, QStringLiteral("Load file"), recent.last_folder(QDir::homePath()),
                                             FileDialogMode::Open);
    if (path.isEmpty())
        return;
    recent.add(path);
    const settings::SettingsContent content = settings::read_settings_file(path);
    if (!content.refusal.isEmpty()) {
        m_hooks.show_message(this, content.refusal, {}, link::MessageIcon::None, {});
        return;
    }
    QStringList into, left;
    for (int row : rows)
        (m_rack.rows().at(row).model_index == content.model_index ? into : left).append(unit_text(row));
    const QString file = text::visible(QDir::toNativeSeparators(path));
    if (into.isEmpty()) {
        m_hooks.show_message(this, QStringLiteral("No unit chosen is of the model of %1.").arg(file), {},
                             link::MessageIcon::None, {});
        return;
    }
    QString question = QStringLiteral("Load %1 into %2?").arg(file, into.join(QStringLiteral(", ")));
    if (!left.isEmpty())
        question += QStringLiteral(" Another model, left alone: %1.").arg(left.join(QStringLiteral(", ")));
    if (!m_hooks.ask || !m_hooks.ask(this, question))
        return;
    m_summary->clear();
    m_rack.load_file(rows, content);
    update_actions();
}

void UnitsWindow::open_selected()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid())
        return;
    const rack::UnitRow &row = m_rack.rows().at(current.row());
    Q_EMIT open_in_panel({row.port, probe::ProbeOutcome::Found, row.model_index, {}});
}

void UnitsWindow::update_actions()
{
    const bool running = m_rack.is_running();
    const bool chosen = m_table->selectionModel()->hasSelection();
    const QModelIndex current = m_table->currentIndex();
    const bool openable = current.isValid() && current.row() < m_rack.rows().size()
                          && m_rack.rows().at(current.row()).model_index > 0
                          && m_rack.rows().at(current.row()).state == rack::UnitState::Answers;
    const bool locked = m_lock.isChecked();
    m_refresh->setEnabled(!running);
    m_back_up->setEnabled(!running && chosen);
    m_changes->setEnabled(!running && chosen);
    m_load_file->setEnabled(!running && chosen && !locked);
    m_load_file->setToolTip(locked ? kChangesLocked : shortcut_tip(*m_load_file));
    m_open->setEnabled(!running && openable);
    m_cancel->setEnabled(running);
}

} // namespace quvex::app
