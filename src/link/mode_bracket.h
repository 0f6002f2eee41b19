#pragma once

#include "catalogue/value.h"
#include "link.h"

#include <QString>

namespace quvex::link {

// The unit exposes only the picture settings of the video standard and scan mode it is in.
// Around each access to a mode-specific item ("PO\Out H-Centre:") the bracket switches the
// unit into the item's mode and back. While a unit-wide run is on (bulk_mode) it switches only
// where the mode changes and restores the unit's own mode at the first ordinary item after.
class ModeBracket
{
public:
    static constexpr double kNone = -1;

    explicit ModeBracket(Link &link);

    QString select_item_video_mode(const QString &name);
    void restore_video_mode();

    catalogue::Value read_item_value(const QString &name);
    void write_item_value(const QString &name, double value);

    double saved_video_std() const { return m_saved_video_std; }
    double saved_overscan() const { return m_saved_overscan; }

private:
    void save_unit_mode();
    void forget_unit_mode();

    Link &m_link;
    double m_saved_video_std = kNone;
    double m_saved_overscan = kNone;
    double m_active_video_std = kNone;
    double m_active_overscan = kNone;
};

} // namespace quvex::link
