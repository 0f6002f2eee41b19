#include "file_menu.h"

#include "menu_items.h"
#include "panel/panel.h"
#include "settings/settings_file.h"
#include "text/visible_text.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include <utility>

namespace quvex::app {

FileMenu::FileMenu(QMenuBar &bar, QWidget &window, const WindowHooks &hooks)
    : QObject(&bar)
    , m_window(window)
    , m_hooks(hooks)
    , m_recent(hooks.config_file)
    , m_menu(add_menu(bar, "file", QStringLiteral("File")))
    , m_fileopen(add_item(*m_menu, "fileopen", QString()))
    , m_filecompare(add_item(*m_menu, "filecompare", QString()))
    , m_filesave(add_item(*m_menu, "filesave", QString()))
{
    m_menu->addSeparator();
    m_open_file = add_item(*m_menu, "open_file", QStringLiteral("Open file..."));
    m_save_file = add_item(*m_menu, "save_file", QStringLiteral("Save to file..."));
    m_compare_file = add_item(*m_menu, "compare_file", QStringLiteral("Compare with file..."));
    // Shown, below a separator of their own, once there is a store to keep backups in.
    m_back_up_now = add_item(*m_menu, "back_up_now", QStringLiteral("Back up now"));
    m_backups = add_item(*m_menu, "backups", QStringLiteral("Backups..."));
    m_back_up_now->setVisible(false);
    m_backups->setVisible(false);
    // The files used last, filled in each time the menu opens; those not in use stay hidden.
    m_menu->addSeparator();
    for (std::size_t i = 0; i < m_recent_files.size(); ++i) {
        m_recent_files[i] = add_item(*m_menu, ("recent_file_" + QByteArray::number(i + 1)).constData(), QString());
        m_recent_files[i]->setVisible(false);
    }
    connect(m_menu, &QMenu::aboutToShow, this, &FileMenu::list_recent_files);
    m_menu->addSeparator();
    m_exit = add_item(*m_menu, "exit", QStringLiteral("Exit"));
}

void FileMenu::on(QAction *action, std::function<void()> handler)
{
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { m_act(handler); });
}

void FileMenu::attach(panel::Panel &panel, settings::SettingsFile &settings, Act act)
{
    m_settings = &settings;
    m_act = std::move(act);
    m_fileopen->setText(literal_caption(settings.open_caption()));
    m_filesave->setText(literal_caption(settings.save_caption()));
    m_filecompare->setText(literal_caption(settings.compare_caption()));
    const settings::DifferenceChooser choose = [this](const auto &differences) {
        return m_hooks.choose_differences(&m_window, differences);
    };
    on(m_fileopen, [&settings] { settings.fileopen_Click(); });
    on(m_filecompare, [&settings, choose] { settings.filecompare_Click(choose); });
    on(m_filesave, [&settings] { settings.filesave_Click(); });
    on(m_open_file, [this, &settings, &panel] {
        // Refused before the operator picks a file for nothing.
        if (panel.changes().refuse())
            return;
        if (const QString path = choose_file(QStringLiteral("Open file"), FileDialogMode::Open); !path.isEmpty())
            settings.open_from(path);
    });
    on(m_save_file, [this, &settings] {
        if (const QString path = choose_file(QStringLiteral("Save to file"), FileDialogMode::Save); !path.isEmpty())
            settings.save_to(path);
    });
    on(m_compare_file, [this, &settings, choose] {
        if (const QString path = choose_file(QStringLiteral("Compare with file"), FileDialogMode::Open);
            !path.isEmpty())
            settings.compare_with(path, choose);
    });
    for (QAction *recent : m_recent_files) {
        on(recent, [this, &settings, &panel, recent] {
            const QString path = recent->data().toString();
            if (panel.changes().refuse())
                return;
            m_recent.add(path);
            settings.open_from(path);
        });
    }
    on(m_exit, [this] { Q_EMIT exit_chosen(); });
}

void FileMenu::attach_backups(backup::UnitBackup &backups)
{
    m_menu->insertSeparator(m_back_up_now);
    m_back_up_now->setVisible(true);
    m_backups->setVisible(true);
    on(m_back_up_now, [&backups] { backups.back_up_now(); });
    on(m_backups, [this, &backups] {
        const std::optional<QList<backup::ListedVersion>> versions = backups.versions();
        const std::optional<QString> chosen = versions ? m_hooks.choose_backup(&m_window, *versions) : std::nullopt;
        if (chosen) {
            m_settings->compare_with(*chosen, [this](const QList<settings::Difference> &differences) {
                return m_hooks.choose_differences(&m_window, differences);
            });
        }
    });
}

void FileMenu::list_recent_files()
{
    const QStringList paths = m_recent.existing();
    qsizetype i = 0;
    for (QAction *action : m_recent_files) {
        const QString path = paths.value(i);
        action->setVisible(i++ < paths.size());
        action->setData(path);
        action->setText(literal_caption(text::visible(QDir::toNativeSeparators(path))));
    }
}

QString FileMenu::choose_file(const QString &caption, FileDialogMode mode)
{
    const QString folder = m_recent.last_folder(QFileInfo(m_settings->path()).absolutePath());
    const QString path = m_hooks.choose_file(&m_window, caption, folder, mode);
    if (!path.isEmpty())
        m_recent.add(path);
    return path;
}

} // namespace quvex::app
