#include "unit_backup.h"

#include "panel/panel.h"
#include "ports/port_device.h"
#include "settings/settings_file.h"
#include "unit_name.h"

#include <QDir>
#include <QFileInfo>

namespace quvex::backup {

UnitBackup::UnitBackup(const catalogue::Catalogue &items, link::Link &link, link::ModeBracket &bracket,
                       link::OperatorSide &operator_side, panel::Panel &panel, QString store_root)
    : m_items(items)
    , m_link(link)
    , m_bracket(bracket)
    , m_operator(operator_side)
    , m_panel(panel)
    , m_store(std::move(store_root))
{
}

void UnitBackup::show(const QString &text)
{
    m_operator.show_message(text);
}

std::optional<UnitKey> UnitBackup::unit()
{
    if (m_panel.model().is_disconnected()) {
        show(QStringLiteral("No unit has been selected."));
        return std::nullopt;
    }
    return UnitKey{unit_target(ports::port_device(m_link.port_number())), m_panel.model().code()};
}

void UnitBackup::back_up_now()
{
    const std::optional<UnitKey> key = unit();
    if (!key)
        return;
    const panel::Operation operation = m_panel.begin_operation();
    const std::optional<QList<settings::SettingsPair>> pairs =
        settings::read_unit_pairs(m_items, m_bracket, m_panel, QStringLiteral("Backing up"));
    if (!pairs) {
        show(QStringLiteral("Unable to complete the backup; no version was written."));
        return;
    }
    const SaveResult saved = m_store.save(*key, settings::settings_bytes(m_panel.model().name(), *pairs),
                                          QDateTime::currentDateTimeUtc(), 30);
    const QString folder = saved.saved == Saved::Failed
                               ? QString()
                               : QDir::toNativeSeparators(QFileInfo(m_store.versions(*key).constLast().path).path());
    switch (saved.saved) {
    case Saved::NewVersion:
        show(QStringLiteral("The unit's settings are kept as a new version in %1.").arg(folder));
        break;
    case Saved::Unchanged:
        show(QStringLiteral("The unit's settings are those of its newest version in %1; none was added.").arg(folder));
        break;
    case Saved::Failed:
        show(QStringLiteral("Could not back up the unit: ") + saved.error);
        break;
    }
}

std::optional<QList<ListedVersion>> UnitBackup::versions()
{
    const std::optional<UnitKey> key = unit();
    if (!key)
        return std::nullopt;
    const QList<Version> versions = m_store.versions(*key);
    if (versions.isEmpty()) {
        show(QStringLiteral("There is no backup of this unit yet."));
        return std::nullopt;
    }
    const QList<int> changed = items_changed(versions);
    QList<ListedVersion> listed;
    for (qsizetype i = versions.size() - 1; i >= 0; --i)
        listed.append({versions.at(i), changed.at(i)});
    return listed;
}

} // namespace quvex::backup
