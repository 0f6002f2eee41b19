#pragma once

#include "backup_store.h"

#include <QList>
#include <QString>

#include <optional>

namespace quvex::catalogue {
class Catalogue;
}
namespace quvex::link {
class Link;
class ModeBracket;
class OperatorSide;
} // namespace quvex::link
namespace quvex::panel {
class Panel;
}

namespace quvex::backup {

// A version as the window lists it: the newest first, each with the number of items it changed
// from the one before (-1 for the first).
struct ListedVersion
{
    Version version;
    int changed = -1;
};

// The backup store as the window uses it, for the unit it is connected to: the unit is the port
// number's target and the chosen model. Every failure is shown to the operator where it happens.
class UnitBackup
{
public:
    UnitBackup(const catalogue::Catalogue &items, link::Link &link, link::ModeBracket &bracket,
               link::OperatorSide &operator_side, panel::Panel &panel, QString store_root);

    // Reads every value afresh and keeps them as a new version when they differ from the newest.
    void back_up_now();
    // The unit's versions; nothing after saying why when there is no unit or no version.
    std::optional<QList<ListedVersion>> versions();

private:
    std::optional<UnitKey> unit();
    void show(const QString &text);

    const catalogue::Catalogue &m_items;
    link::Link &m_link;
    link::ModeBracket &m_bracket;
    link::OperatorSide &m_operator;
    panel::Panel &m_panel;
    BackupStore m_store;
};

} // namespace quvex::backup
