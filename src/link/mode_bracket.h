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
// ends the bracket there, and the item is not accessed at all.
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

private:
    bool save_unit_mode();
    bool put_back_unit_mode();
    bool switch_to(const QString &name, int value, double &active);
    void forget_unit_mode();

    Link &m_link;
    double m_saved_video_std = kNone;
    double m_saved_overscan = kNone;
    double m_active_video_std = kNone;
    double m_active_overscan = kNone;
};

} // namespace quvex::link
