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
// then the mode the unit shows is the bracket's switch, not its own. A restore line answered
// with anything but ">" does not end the restore: the unit is there, so the rest goes out, the
// mode is read back and what still differs is sent once more.
class ModeBracket
{
public:
    static constexpr double kNone = -1;

    explicit ModeBracket(Link &link);

    // The name to use in the exchange; nothing when the item must not be accessed, because
    // an exchange of the bracket itself failed.
    std::optional<QString> select_item_video_mode(const QString &name);
    // Puts back the unit's own mode after a single access, or after a unit-wide run once
    // bulk_mode is off again; stops at a unit that is silent or gone.
    void restore_video_mode();

    // Nothing when the item itself was not asked.
    Reading read_item_value(const QString &name);
    WriteResult write_item_value(const QString &name, double value);

    double saved_video_std() const { return m_video_std.own; }

    // Sends a restore kept from a lost line; false when it failed again, and it stays kept.
    bool retry_pending_restore();
    // Another unit, or none, is chosen: the restore kept was for the one before.
    void forget_pending_restore();
    // Which video mode the unit may be left in instead of its own while a switch has not been
    // put back, each one it may be in when a line went out unacknowledged; empty when it has
    // its own.
    QString unrestored_mode() const;

private:
    // Video Std or Overscan as the bracket knows it.
    struct Setting
    {
        QString name;
        double own = kNone;    // read from the unit when the bracket opened
        double active = kNone; // read from the unit, or acknowledged by it
        // Sent and not acknowledged (or still awaiting its answer): the unit may have taken it.
        std::optional<double> unsure;

        bool is_own() const { return active == own && (!unsure || *unsure == own); }
    };

    bool save_unit_mode();
    // Only the values that differ from the unit's own when only_changed; keeps the restore
    // when the line was lost. Tells the operator once, with the mode the unit may be left in
    // when a wrong answer left it unsure.
    bool put_back_unit_mode(bool only_changed);
    WriteResult put_back(Setting &setting, bool only_changed);
    // After a wrong answer to a restore line: reads both values back and sends once more those
    // the unit shows to differ from its own. Ends as the last line it sent did.
    WriteResult confirm_unit_mode();
    bool switch_to(Setting &setting, int value);
    WriteResult send(Setting &setting, double value, Purpose purpose);
    void forget_unit_mode();

    Link &m_link;
    Setting m_video_std;
    Setting m_overscan;
    bool m_restore_pending = false;
};

} // namespace quvex::link
