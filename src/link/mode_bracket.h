#pragma once

#include "link.h"

#include <QString>

#include <optional>

namespace quvex::link {

// The unit exposes only the picture settings of the video standard and scan mode it is in.
// Around each access to a mode-specific item ("PO\Out H-Centre:") the bracket switches the
// unit into the item's mode and back. While a unit-wide run is on (bulk_mode) it switches only
// where the mode changes and restores the unit's own mode at the first ordinary item after.
// The unit's mode is switched only when it was read first: a mode query without a number
// ends the bracket there, and the item is not accessed at all. A restore that the line lost
// (a pulled adapter) is kept and goes first at the next access, when the line is back: until
// then the mode the unit shows is the bracket's switch, not its own.
class ModeBracket
{
public:
    static constexpr double kNone = -1;

    explicit ModeBracket(Link &link);

    // The name to use in the exchange; nothing when the item must not be accessed, because
    // an exchange of the bracket itself failed.
    std::optional<QString> select_item_video_mode(const QString &name);
    // Puts back the unit's own mode after a single access, or after a unit-wide run once
    // bulk_mode is off again; stops at its first failure.
    void restore_video_mode();

    // Nothing when the item itself was not asked.
    Reading read_item_value(const QString &name);
    WriteResult write_item_value(const QString &name, double value);

    double saved_video_std() const { return m_saved_video_std; }

    // Sends a restore kept from a lost line; false when it failed again, and it stays kept.
    bool retry_pending_restore();
    // Another unit, or none, is chosen: the restore kept was for the one before.
    void forget_pending_restore();
    // Which video mode the unit may be left in instead of its own while a switch has not been
    // put back; empty when it has its own.
    QString unrestored_mode() const;

private:
    bool save_unit_mode();
    // Only the values that differ from the unit's own when only_changed; keeps the restore
    // when the line was lost.
    bool put_back_unit_mode(bool only_changed);
    WriteResult put_back(const QString &name, double own, double &active, bool only_changed);
    bool switch_to(const QString &name, int value, double &active);
    void forget_unit_mode();

    Link &m_link;
    double m_saved_video_std = kNone;
    double m_saved_overscan = kNone;
    double m_active_video_std = kNone;
    double m_active_overscan = kNone;
    bool m_restore_pending = false;
};

} // namespace quvex::link
